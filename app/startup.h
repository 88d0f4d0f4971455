// What the command line asks for: a stand-alone start, or a hosted one, with
// the main window embedded in a window of the timetabling product.
//
// Arguments are counted without the program's own path. Exactly two make a
// hosted start: a mode word ("importar" or "exportar", letters A-Z in any
// case) and the host window's handle in bare hexadecimal digits, at most 32
// bits. Any other count starts stand-alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tv {

struct Startup {
  enum class Panel {
    Both,              // stand-alone, or a mode word the program does not know
    SigadToTimetable,  // "exportar": only the left panel, filling the window
    TimetableToSigad,  // "importar": only the right panel, filling the window
  };
  bool hosted = false;
  std::uint32_t hostWindow = 0;
  Panel panel = Panel::Both;
  // When the handle did not convert: the message to report before starting
  // stand-alone, "'$<argument>' no es un valor entero válido".
  std::string error;
};

Startup ReadCommandLine(const std::vector<std::string>& arguments);

}  // namespace tv
