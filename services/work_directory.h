// The work directory where the timetabling product keeps its tables.
#pragma once

#include <filesystem>

namespace tv {

// "C:\VTEMP" on Windows. Elsewhere the product runs under Wine, so it is
// VTEMP on the C: drive of the Wine prefix: $WINEPREFIX/drive_c/VTEMP, or
// ~/.wine/drive_c/VTEMP without WINEPREFIX. Wine sees the folder whatever its
// letter case, and so does this lookup. The folder is never created here.
std::filesystem::path DefaultWorkDirectory();

}  // namespace tv
