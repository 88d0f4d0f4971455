#include "qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "error.h"

namespace tv {

void ShowMessageBox(QWidget* parent, const QString& text, bool error) {
  QMessageBox box(error ? QMessageBox::Critical : QMessageBox::NoIcon, QStringLiteral("TransVormosSigad"), text,
                  QMessageBox::NoButton, parent);
  box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
  box.exec();
}

void ReportError(QWidget* parent, const std::string& utf8Message) {
  ShowMessageBox(parent, QString::fromStdString(WithFullStop(utf8Message)), true);
}

void QtUserInterface::ConfigureDialog(QFileDialog& dialog) const {
  dialog.setWindowTitle(QStringLiteral("Archivo XML"));
  dialog.setNameFilter(QStringLiteral("*.xml (*.xml)"));
  dialog.setDefaultSuffix(QStringLiteral("xml"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // The dialog does not insist that the file exist: the run tests that.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Abrir"));
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
  if (!lastFile_.isEmpty()) dialog.selectFile(lastFile_);
}

std::optional<std::string> QtUserInterface::PickXmlFile(std::string_view instruction) {
  if (!instruction.empty()) ShowMessage(instruction);
  QFileDialog dialog(window_);
  ConfigureDialog(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  lastFile_ = dialog.selectedFiles().front();
  return lastFile_.toStdString();
}

void QtUserInterface::ShowMessage(std::string_view message) {
  QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
  ShowMessageBox(window_, text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")), false);
}

void QtUserInterface::SetWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtUserInterface::CloseMainWindow() { closeWindow_(); }

}  // namespace tv
