// Arbitrary bytes as SOLUC through the solution export: it completes with a
// result that loads as XML, or ends in a Spanish error and writes nothing.
#include <cstdint>

#include "error.h"
#include "fuzz_support.h"
#include "solution_export.h"
#include "work_table.h"

namespace {

void Lookup(const std::filesystem::path& dir, const char* name, const char* code, const char* id) {
  auto table = tv::WorkTable::Create(
      dir, name, {{code, tv::FieldType::Character, 10}, {id, tv::FieldType::Character, 10}});
  table->Open();
  for (const char* row : {"A", "B", "MAT", "JGP"}) {
    table->Append();
    table->SetText(0, row);
    table->SetText(1, std::string("id-") + row);
    table->Post();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const auto tables = tv::fuzz::Scratch() / "VTEMP";
  std::filesystem::create_directories(tables);
  Lookup(tables, "GRUPOST", "ABREV", "IDGRUPO");
  Lookup(tables, "PROFT", "ABREV", "IDPROF");
  Lookup(tables, "AULAT", "ABREV", "IDAULA");
  Lookup(tables, "ASIGNOMT", "COD", "IDASIG");
  Lookup(tables, "ASIGT", "CASIG", "IDASIG");
  const char sigad[] =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><centro codigo_interno=\"1\" nombre=\"x\"/>";
  tv::fuzz::WriteBytes(tv::fuzz::Scratch() / "centro.xml",
                       reinterpret_cast<const std::uint8_t*>(sigad), sizeof sigad - 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto folder = tv::fuzz::Scratch();
  const auto result = folder / "ResultadoVormoscentro.xml";
  std::filesystem::remove(result);
  tv::fuzz::WriteBytes(folder / "VTEMP" / "SOLUC.DBF", data, size);
  tv::ProgramState program;
  tv::RunContext context(program, folder / "VTEMP");
  tv::fuzz::FixedFileUi ui((folder / "centro.xml").string());
  bool completed = false;
  try {
    completed = tv::RunSolutionExport(context, ui) == tv::RunOutcome::Completed;
  } catch (const tv::Error&) {
  }
  if (completed != std::filesystem::exists(result)) std::abort();
  if (completed && !tv::XmlDocument().load(result)) std::abort();
  return 0;
}
