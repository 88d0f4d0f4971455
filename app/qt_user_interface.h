// The user interface of the window: the open dialog OpenDialogXML, modal
// message boxes with the one button "Aceptar", the application-wide wait
// cursor, and closing the main window.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QWidget>
#include <functional>

#include "user_interface.h"

namespace tv {

class QtUserInterface : public UserInterface {
 public:
  // `closeWindow` closes the main window as its close box would.
  QtUserInterface(QWidget* window, std::function<void()> closeWindow)
      : window_(window), closeWindow_(std::move(closeWindow)) {}

  std::optional<std::string> PickXmlFile(std::string_view instruction) override;
  void ShowMessage(std::string_view message) override;
  void SetWaitCursor(bool on) override;
  void CloseMainWindow() override;

  // OpenDialogXML as it opens: title "Archivo XML", the one filter "*.xml",
  // default extension "xml", and the file confirmed last selected.
  void ConfigureDialog(QFileDialog& dialog) const;

 private:
  QWidget* window_;
  std::function<void()> closeWindow_;
  QString lastFile_;
};

// A modal message box with the application title as caption and the one
// button "Aceptar"; with an error icon for errors.
void ShowMessageBox(QWidget* parent, const QString& text, bool error);

// The application's error report: the message with a full stop unless it
// ends in one or in a character that sorts before it.
void ReportError(QWidget* parent, const std::string& utf8Message);

}  // namespace tv
