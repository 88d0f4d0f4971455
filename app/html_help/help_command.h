// HTML Help's commands, as its entry point HtmlHelpA receives them, carried
// out with this library's help windows: one window per help file, kept and
// brought to the front by later calls.
#pragma once

#include <cstdint>

class QWidget;

namespace tv::help {

// HTML Help's numbering of the commands understood here.
enum HelpCommand : unsigned {
  kDisplayTopic = 0,  // file "PATH::/topic" (or data: the topic's text)
  kDisplayToc = 1,    // file: the .chm
  kDisplayIndex = 2,  // file: the .chm; data: the keyword's text, NUL-ended
  kHelpContext = 15,  // file: the .chm; data: the context number
  kCloseAll = 18,     // file: none
};

// Carries out one command and returns the help window it showed. A topic,
// context number or keyword the file lacks shows the file's default page.
// Nothing is shown and nullptr comes back for unknown commands, a missing
// or malformed file, or when no QApplication runs on the calling thread.
// kCloseAll deletes every help window at once (the program may unload the
// library right after) and returns nullptr. Exceptions may escape; the
// entry point stops them.
QWidget* RunHelpCommand(const char* file, unsigned command, std::uintptr_t data);

}  // namespace tv::help
