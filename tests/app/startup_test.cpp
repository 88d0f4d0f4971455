#include "startup.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using Panel = Startup::Panel;

TEST(StartupTest, CommandLineDecidesHostedModeAndPanel) {
  struct Case {
    std::vector<std::string> arguments;
    bool hosted;
    std::uint32_t handle;
    Panel panel;
    std::string error;
  };
  const Case cases[] = {
      {{}, false, 0, Panel::Both, ""},
      {{"exportar"}, false, 0, Panel::Both, ""},
      {{"exportar", "1A2B", "x"}, false, 0, Panel::Both, ""},
      {{"EXPORTAR", "1A2B"}, true, 0x1A2B, Panel::SigadToTimetable, ""},
      {{"importar", "00001A2B"}, true, 0x1A2B, Panel::TimetableToSigad, ""},
      {{"Importar", "ffffffff"}, true, 0xFFFFFFFF, Panel::TimetableToSigad, ""},
      {{"export", "1A2B"}, true, 0x1A2B, Panel::Both, ""},
      {{"importar ", "1A2B"}, true, 0x1A2B, Panel::Both, ""},
      {{"\xC9XPORTAR", "1"}, true, 1, Panel::Both, ""},  // only A-Z are lower-cased
      {{"importar", "0x1A2B"}, false, 0, Panel::Both, "'$0x1A2B' no es un valor entero válido"},
      {{"importar", "$1A2B"}, false, 0, Panel::Both, "'$$1A2B' no es un valor entero válido"},
      {{"importar", "12G4"}, false, 0, Panel::Both, "'$12G4' no es un valor entero válido"},
      {{"importar", ""}, false, 0, Panel::Both, "'$' no es un valor entero válido"},
      {{"importar", "100000000"}, false, 0, Panel::Both, "'$100000000' no es un valor entero válido"},
      {{"importar", "-1"}, false, 0, Panel::Both, "'$-1' no es un valor entero válido"},
      {{"importar", " 1A"}, false, 0, Panel::Both, "'$ 1A' no es un valor entero válido"},
  };
  for (const auto& c : cases) {
    const Startup startup = ReadCommandLine(c.arguments);
    const std::string shown = c.arguments.empty() ? "" : c.arguments.back();
    EXPECT_EQ(startup.hosted, c.hosted) << shown;
    EXPECT_EQ(startup.hostWindow, c.handle) << shown;
    EXPECT_EQ(startup.panel, c.panel) << shown;
    EXPECT_EQ(startup.error, c.error) << shown;
  }
}

}  // namespace
}  // namespace tv
