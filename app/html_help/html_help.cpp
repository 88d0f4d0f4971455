// The entry point of the help viewer library, the one symbol it exports:
// HTML Help's HtmlHelpA, as the program finds it in HHCtrl.ocx on Windows.
// The program loads this library from its own folder and calls it on its
// user-interface thread, with its QApplication running. The owner window is
// ignored: the help windows are top-level windows of their own.
#include <cstdint>

#include "help_command.h"

extern "C" __attribute__((visibility("default"))) void* HtmlHelpA(void* ownerWindow,
                                                                  const char* file,
                                                                  unsigned int command,
                                                                  std::uintptr_t data);

void* HtmlHelpA(void* /*ownerWindow*/, const char* file, unsigned int command,
                std::uintptr_t data) {
  // Nothing may unwind into the caller's C frames.
  try {
    return tv::help::RunHelpCommand(file, command, data);
  } catch (...) {
    return nullptr;
  }
}
