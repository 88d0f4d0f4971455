// A stand-in for the timetabling product's window, for the hosted tests: a
// plain top-level window that prints its X11 id in hexadecimal and waits.
#include <QApplication>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget host;
  host.setWindowTitle(QStringLiteral("Anfitrión"));
  host.resize(800, 500);
  host.show();
  std::printf("%llx\n", static_cast<unsigned long long>(host.winId()));
  std::fflush(stdout);
  return application.exec();
}
