#include "startup.h"

#include "error.h"
#include "number_rules.h"

namespace tv {
namespace {

// Only the ASCII letters change: other characters stay as they are.
std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

Startup ReadCommandLine(const std::vector<std::string>& arguments) {
  Startup startup;
  if (arguments.size() != 2) return startup;
  // "$" marks a hexadecimal number for the whole-number rule, so a sign, a
  // prefix or a space in the argument makes it fail.
  const std::string handle = "$" + arguments[1];
  const auto value = ParseWholeNumber(handle);
  if (!value) {
    startup.error = Format("'%s' no es un valor entero válido", {handle});
    return startup;
  }
  startup.hosted = true;
  startup.hostWindow = static_cast<std::uint32_t>(*value);
  const std::string mode = LowerAscii(arguments[0]);
  if (mode == "importar") startup.panel = Startup::Panel::TimetableToSigad;
  if (mode == "exportar") startup.panel = Startup::Panel::SigadToTimetable;
  return startup;
}

}  // namespace tv
