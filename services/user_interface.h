// What a run needs from the user interface. The window, the command line and
// the tests each give their own; the runs know no other way to the user.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tv {

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Asks for the SIGAD file: shows `instruction`, when there is one, in a
  // message box like ShowMessage's, then the open dialog ("Archivo XML",
  // filter *.xml, default extension xml). The chosen file's full path, or
  // nothing when the user cancels.
  virtual std::optional<std::string> PickXmlFile(std::string_view instruction = {}) = 0;
  // A modal message box with the one button "Aceptar" and the application
  // title as caption; the text is UTF-8.
  virtual void ShowMessage(std::string_view message) = 0;
  // The application-wide wait cursor, on or off.
  virtual void SetWaitCursor(bool on) = 0;
  // Closes the main window, which ends the program and, hosted, writes the
  // result file.
  virtual void CloseMainWindow() = 0;
};

}  // namespace tv
