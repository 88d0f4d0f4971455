// Work-table figures for this machine: writing 1,000,000 rows of an
// ASIGT-shaped table, next to its floor, writing the same bytes raw with one
// buffered stream; reading them back; and 1,000,000 Locates on a 100,000-row
// table.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "run_measure.h"
#include "work_table.h"

using namespace tv;
using Clock = std::chrono::steady_clock;

namespace {

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

const std::vector<FieldDef> kAssignmentFields = {
    {"CASIG", FieldType::Character, 10},   {"CPROF", FieldType::Character, 10},
    {"CGRUP", FieldType::Character, 10},   {"CAULA", FieldType::Character, 10},
    {"TURNO", FieldType::Character, 1},    {"NIVEL", FieldType::Character, 5},
    {"CURSO", FieldType::Character, 3},    {"GRUPO", FieldType::Character, 2},
    {"HORAS", FieldType::Float},           {"SESIONES", FieldType::Character, 20},
    {"CTAREA", FieldType::Character, 10},  {"NCONEX", FieldType::Character, 4},
    {"IDCURSO", FieldType::Character, 10}, {"IDGRUP", FieldType::Character, 10},
    {"IDASIG", FieldType::Character, 10},  {"IDPROF", FieldType::Character, 10},
};

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path dir =
      argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "transvormos-bench";
  std::filesystem::create_directories(dir);
  constexpr int kRows = 1'000'000;

  auto start = Clock::now();
  {
    auto table = WorkTable::Create(dir, "ASIGT", kAssignmentFields);
    table->Open();
    std::vector<int> f;
    for (const auto& def : kAssignmentFields) f.push_back(table->FieldNumber(def.name));
    // The values are made before the clock matters, as the raw write's are.
    std::vector<std::string> ids, subjects;
    for (int i = 0; i < 1000; ++i) {
      ids.push_back(std::to_string(1000000 + i * 7));
      subjects.push_back("MAT" + std::to_string(i));
    }
    start = Clock::now();
    for (int i = 0; i < kRows; ++i) {
      const std::string& n = ids[static_cast<std::size_t>(i % 1000)];
      table->Append();
      table->SetText(f[0], subjects[static_cast<std::size_t>(i % 997)]);
      table->SetText(f[1], "JGP");
      table->SetText(f[2], "M1ESOA");
      table->SetText(f[3], "");
      table->SetText(f[4], "M");
      table->SetText(f[5], "ESO");
      table->SetText(f[6], "1");
      table->SetText(f[7], "A");
      table->SetFloat(f[8], 4);
      table->SetText(f[9], "1111");
      table->SetText(f[10], "LD");
      table->SetText(f[11], "");
      table->SetText(f[12], "");
      table->SetText(f[13], n);
      table->SetText(f[14], n);
      table->SetText(f[15], n);
      table->Post();
    }
  }
  const double write = Since(start);
  const auto bytes = std::filesystem::file_size(dir / "ASIGT.DBF");

  const std::string raw = (dir / "RAW.BIN").string();
  start = Clock::now();
  {
    const std::size_t rowLength = (bytes - 32 * 17 - 2) / kRows;
    std::vector<char> row(rowLength, 'x');
    FILE* out = std::fopen(raw.c_str(), "wb");
    for (int i = 0; i < kRows; ++i) std::fwrite(row.data(), 1, row.size(), out);
    std::fclose(out);
  }
  const double rawWrite = Since(start);

  start = Clock::now();
  std::size_t characters = 0;
  {
    WorkTable table(dir, "ASIGT", Access::Exclusive);
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
      for (int field = 0; field < 16; ++field) characters += table.Text(field).size();
    }
  }
  const double read = Since(start);

  constexpr int kLookupRows = 100'000, kLocates = 1'000'000;
  {
    auto table = WorkTable::Create(
        dir, "PROFT", {{"ABREV", FieldType::Character, 10}, {"IDPROF", FieldType::Character, 10}});
    table->Open();
    for (int i = 0; i < kLookupRows; ++i) {
      table->Append();
      table->SetText(0, "P" + std::to_string(i));
      table->SetText(1, std::to_string(i * 7));
      table->Post();
    }
  }
  start = Clock::now();
  int found = 0;
  {
    WorkTable table(dir, "PROFT", Access::Exclusive);
    table.Open();
    for (long long i = 0; i < kLocates; ++i)
      found += table.Locate(1, std::to_string(i * 7919 % (kLookupRows * 7)));
  }
  const double locate = Since(start);

  tv::bench::PrintRow("work tables: write 1,000,000 ASIGT rows", write, rawWrite, 0);
  tv::bench::PrintRow("work tables: read them back, every field", read, 0, 0);
  tv::bench::PrintRow("work tables: 1,000,000 Locates, 100,000 rows", locate, 0, 0);
  if (found == 0 || characters == 0) return 1;
  std::filesystem::remove_all(dir);
  return 0;
}
