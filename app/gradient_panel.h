// A panel painted with a vertical three-colour gradient: one colour at the
// top edge, one halfway down, one at the bottom edge, blending linearly.
#pragma once

#include <QColor>
#include <QWidget>

namespace tv {

class GradientPanel : public QWidget {
 public:
  GradientPanel(QColor top, QColor middle, QColor bottom, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor top_, middle_, bottom_;
};

}  // namespace tv
