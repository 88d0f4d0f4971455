// Arbitrary texts through the number rules, the text helpers and the code
// page conversions; the results must keep the rules' own promises.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "code_page.h"
#include "error.h"
#include "number_rules.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  tv::ParseWholeNumber(text);
  for (const char separator : {',', '.'}) {
    if (const auto value = tv::ParseDecimalNumber(text, separator)) {
      // What the general format writes, the decimal rule reads back.
      const std::string written = tv::FormatGeneral(*value, separator);
      if (std::isfinite(*value) && !tv::ParseDecimalNumber(written, separator)) std::abort();
      try {
        tv::RoundHalfEven(*value, separator);
      } catch (const tv::Error&) {
      }
    }
  }
  if (size >= sizeof(double)) {
    double value;
    std::memcpy(&value, data, sizeof value);
    tv::FormatGeneral(value, ',');
  }
  if (tv::TrimBoth(text).size() > text.size() ||
      tv::RemoveSpaces(text).find(' ') != std::string::npos)
    std::abort();
  tv::WordInitials(text);
  tv::LeftChars(text, static_cast<std::int32_t>(size) - 3);
  tv::RightChars(text, static_cast<std::int32_t>(size) / 2);
  // Every ANSI text goes to UTF-8 and back unchanged.
  if (tv::Utf8ToAnsi(tv::AnsiToUtf8(text)) != text) std::abort();
  tv::Utf8ToAnsi(text);
  return 0;
}
