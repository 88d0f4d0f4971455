// Arbitrary bytes as a dBase table: opening it and reading every row and
// field, as text, whole number and floating-point number, and a Locate, must
// end in a value or in the engine's Spanish error, never in a crash.
#include <cstdint>

#include "error.h"
#include "fuzz_support.h"
#include "work_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = tv::fuzz::Scratch() / "T.DBF";
  tv::fuzz::WriteBytes(file, data, size);
  tv::WorkTable table(tv::fuzz::Scratch(), "T", tv::Access::Shared);
  try {
    table.Open();
  } catch (const tv::Error&) {
    return 0;
  }
  const int fields = static_cast<int>(table.Fields().size());
  for (table.First(); !table.Eof(); table.Next()) {
    for (int field = 0; field < fields; ++field) {
      for (int as = 0; as < 3; ++as) {
        try {
          if (as == 0) table.Text(field);
          if (as == 1) table.Integer(field);
          if (as == 2) table.Float(field);
        } catch (const tv::Error&) {
        }
      }
    }
  }
  try {
    if (fields > 0) table.Locate(0, "A");
  } catch (const tv::Error&) {
  }
  return 0;
}
