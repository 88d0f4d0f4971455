// Arbitrary bytes as a SIGAD file through a whole conversion run: the run
// completes or ends in a Spanish error, and every table it leaves opens.
#include <cstdint>

#include "conversion.h"
#include "error.h"
#include "fuzz_support.h"
#include "work_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto folder = tv::fuzz::Scratch();
  const auto tables = folder / "VTEMP";
  std::filesystem::create_directories(tables);
  tv::fuzz::WriteBytes(folder / "centro.xml", data, size);
  tv::ProgramState program;
  tv::RunContext context(program, tables);
  tv::fuzz::FixedFileUi ui((folder / "centro.xml").string());
  try {
    tv::RunConversion(context, ui);
  } catch (const tv::Error&) {
  }
  for (const char* name : {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT"}) {
    if (!std::filesystem::exists(tables / (std::string(name) + ".DBF"))) continue;
    tv::WorkTable table(tables, name, tv::Access::Exclusive);
    table.Open();  // a table left behind that does not open is a finding
    for (table.First(); !table.Eof(); table.Next()) {
    }
  }
  return 0;
}
