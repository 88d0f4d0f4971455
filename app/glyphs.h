// The pictures of the program, drawn rather than loaded, so they look the
// same everywhere: the buttons' glyphs and the application icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tv {

// A green check mark, for the "Aceptar" buttons.
QIcon CheckMarkGlyph();
// A door with an arrow leaving it, for "&Salir".
QIcon CloseGlyph();
// The 48 by 48 application icon: two tables and the arrows between them.
QPixmap ApplicationIcon();

}  // namespace tv
