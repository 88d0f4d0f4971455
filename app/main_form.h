// The program's one window, MForm of class TMForm: the two directions of
// conversion side by side, each on a gradient panel with its "Aceptar"
// button, above a strip with the help and quit buttons. Hosted, it sits in a
// window of the timetabling product and shows only the direction asked for.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gradient_panel.h"
#include "help_system.h"
#include "run_context.h"
#include "startup.h"
#include "user_interface.h"

namespace tv {

class TMForm : public QWidget {
 public:
  // Builds the window and runs FormCreate with the command line's arguments
  // (without the program's path). `resultFile` is Vormelan.ini beside the
  // executable; `workDirectory` holds the work tables.
  TMForm(ProgramState& program, ApplicationHelp& help, const std::vector<std::string>& arguments,
         std::filesystem::path workDirectory, std::filesystem::path resultFile);

  // The click handlers of the two "Aceptar" buttons and of "F1 Ayuda". An
  // error that leaves a handler ends in the application's error report; the
  // window stays open.
  void BExportarClick();
  void BImportarClick();
  void Button1Click();
  // Closes the window as its close box does, also when it is embedded in the
  // host's window, where the window system has no close box to offer.
  void CloseForm();

  // The runs talk to the user through this; tests put their own in.
  void SetUserInterface(std::unique_ptr<UserInterface> ui) { ui_ = std::move(ui); }
  RunContext& context() { return context_; }

  // Components, under the names the program has always used.
  GradientPanel* Draw3D1;  // the bottom strip: help, quit, version
  GradientPanel* Draw3D2;  // SIGAD to timetable
  GradientPanel* Draw3D3;  // timetable to SIGAD
  QLabel* Label1;
  QLabel* Label3;
  QLabel* Label4;
  QPushButton* BExportar;
  QPushButton* BImportar;
  QPushButton* BClose;
  QPushButton* Button1;

 protected:
  // FormClose: hosted, the result code goes to the result file; when it
  // cannot be written the error is reported and the window stays open.
  void closeEvent(QCloseEvent* event) override;
  // F1 anywhere in the window asks for the help context of the control that
  // has the focus: 3 on every control.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildComponents();
  void FormCreate(const std::vector<std::string>& arguments);
  void EmbedIn(std::uint32_t hostWindow);
  bool Embedded() const;
  // Hosted, writes the result code to the result file; false, after
  // reporting it, when the file cannot be written.
  bool FormClose();
  template <typename Handler>
  void Guarded(Handler handler);

  ProgramState& program_;
  ApplicationHelp& help_;
  RunContext context_;
  std::filesystem::path resultFile_;
  std::unique_ptr<UserInterface> ui_;
};

}  // namespace tv
