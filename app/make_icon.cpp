// Writes the application icon as a PNG file at build time, from the same
// drawing the window uses, for the desktop entry.
#include <QGuiApplication>

#include "glyphs.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  return argc == 2 && tv::ApplicationIcon().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
