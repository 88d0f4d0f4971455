// A stand-in for the HTML Help library that records each call, one line
// "owner|file|command|data" each, for the help tests to read back through
// RecordedHelpCalls (which also forgets them).
#include <cstdint>
#include <string>

namespace {
std::string calls;
}

extern "C" __attribute__((visibility("default"))) void* HtmlHelpA(void* owner, const char* file,
                                                                  unsigned command,
                                                                  std::uintptr_t data) {
  calls +=
      std::to_string(reinterpret_cast<std::uintptr_t>(owner)) + "|" + (file ? file : "(ninguno)") +
      "|" + std::to_string(command) + "|" +
      (command == 2 ? std::string(reinterpret_cast<const char*>(data)) : std::to_string(data)) +
      "\n";
  return nullptr;
}

extern "C" __attribute__((visibility("default"))) const char* RecordedHelpCalls() {
  static std::string last;
  last = calls;
  calls.clear();
  return last.c_str();
}
