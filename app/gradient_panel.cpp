#include "gradient_panel.h"

#include <QLinearGradient>
#include <QPainter>

namespace tv {

GradientPanel::GradientPanel(QColor top, QColor middle, QColor bottom, QWidget* parent)
    : QWidget(parent), top_(top), middle_(middle), bottom_(bottom) {
  // Qt paints every widget off-screen first, so the gradient never flickers.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientPanel::paintEvent(QPaintEvent*) {
  QLinearGradient gradient(0, 0, 0, height() - 1);
  gradient.setColorAt(0.0, top_);
  gradient.setColorAt(0.5, middle_);
  gradient.setColorAt(1.0, bottom_);
  QPainter painter(this);
  painter.fillRect(rect(), gradient);
}

}  // namespace tv
