// TransVormosSigad: the desktop program. Stand-alone without arguments;
// hosted by the timetabling product with a mode word and the handle of one of
// its windows.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <csignal>
#include <filesystem>

#include "html_help_viewer.h"
#include "main_form.h"
#include "qt_user_interface.h"
#include "work_directory.h"

namespace {

// Every error that leaves an event handler ends in the error report; the
// program goes on.
class Application : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      tv::ReportError(activeWindow(), error.what());
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  Application application(argc, argv);
  // The regional settings decide the decimal separator and the date format.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "");
  std::signal(SIGXFSZ, SIG_IGN);
  // Qt's own texts (the open dialog's buttons and labels) in Spanish too.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                   QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    application.installTranslator(&qtTexts);
  }
  application.setApplicationName(QStringLiteral("TransVormosSigad"));

  // Help registers before the window exists and withdraws after it is gone.
  static tv::ApplicationHelp help;
  help.helpFile = "SIGAD.chm";
  tv::RegisterHelpViewers(help.system, tv::ProgramDirectory() + "libtransvormos-hhctrl.so",
                          [] { return help.helpFile; });

  std::vector<std::string> arguments(argv + 1, argv + argc);
  const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdString();
  tv::ProgramState program;
  int status = 0;
  {
    tv::TMForm form(program, help, arguments, tv::DefaultWorkDirectory(), folder / "Vormelan.ini");
    form.show();
    status = application.exec();
  }
  tv::WithdrawHelpViewers(help.system);
  return status;
}
