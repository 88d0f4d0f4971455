// Timetable-to-SIGAD figures for this machine: exporting a SOLUC of
// 1,000,000 rows against lookup tables of 50,000 rows each, next to reading
// SOLUC alone; and the same export against a whole region's SIGAD file,
// whose sections the export must not keep in memory.
//
// Usage: export_bench [FOLDER]   (FOLDER: where the files go; /tmp by default)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "run_measure.h"
#include "work_table.h"

using namespace tv;
using tv::bench::Measure;
using tv::bench::RunMeasured;

namespace {

constexpr int kLookupRows = 50'000, kSolutionRows = 1'000'000;

void LookupTable(const std::filesystem::path& dir, const char* name, const char* code,
                 const char* id) {
  auto table = WorkTable::Create(
      dir, name, {{code, FieldType::Character, 10}, {id, FieldType::Character, 20}});
  table->Open();
  for (int i = 0; i < kLookupRows; ++i) {
    table->Append();
    table->SetText(0, name[0] + std::to_string(i));
    table->SetText(1, std::to_string(1000000 + i));
    table->Post();
  }
}

void Solution(const std::filesystem::path& dir) {
  auto table = WorkTable::Create(dir, "SOLUC",
                                 {{"DIA", FieldType::Integer},
                                  {"HORA", FieldType::Integer},
                                  {"SESIONES", FieldType::Character, 20},
                                  {"CODGRUPO", FieldType::Character, 10},
                                  {"ASIG", FieldType::Character, 10},
                                  {"TAREA", FieldType::Character, 10},
                                  {"PROF", FieldType::Character, 10},
                                  {"AULA", FieldType::Character, 10}});
  table->Open();
  for (long long i = 0; i < kSolutionRows; ++i) {
    // Codes spread over the lookup tables; about one in a hundred unknown.
    auto code = [&](char letter, long long salt) {
      const long long n = (i * 7919 + salt * 104729) % (kLookupRows + kLookupRows / 100);
      return letter + std::to_string(n);
    };
    table->Append();
    table->SetText(0, std::to_string(i % 5 + 1));
    table->SetText(1, std::to_string(i % 6 + 1));
    table->SetText(2, "1111");
    table->SetText(3, code('G', 1));
    table->SetText(4, code('A', 2));
    table->SetText(5, code('A', 3));
    table->SetText(6, code('P', 4));
    table->SetText(7, code('A', 5).replace(0, 1, "U"));
    table->Post();
  }
}

double ReadSolution(const std::filesystem::path& dir) {
  const auto start = std::chrono::steady_clock::now();
  WorkTable table(dir, "SOLUC", Access::Exclusive);
  table.Open();
  std::size_t characters = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    characters +=
        static_cast<std::size_t>(table.Integer(0)) + static_cast<std::size_t>(table.Float(1) != 0);
    for (int field = 1; field < 8; ++field) characters += table.Text(field).size();
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() +
         0 * static_cast<double>(characters);
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : "/tmp";
  const auto tables = folder / "bench_export";
  std::filesystem::remove_all(tables);
  std::filesystem::create_directories(tables);
  LookupTable(tables, "GRUPOST", "ABREV", "IDGRUPO");
  LookupTable(tables, "PROFT", "ABREV", "IDPROF");
  LookupTable(tables, "AULAT", "ABREV", "IDAULA");
  LookupTable(tables, "ASIGNOMT", "COD", "IDASIG");
  LookupTable(tables, "ASIGT", "CASIG", "IDASIG");
  Solution(tables);
  const std::string small = (tables / "centro.xml").string();
  {
    FILE* out = std::fopen(small.c_str(), "w");
    std::fputs(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><centro codigo_interno=\"1\" nombre=\"IES\" "
        "curso=\"2026\" "
        "version=\"1\"/>\n",
        out);
    std::fclose(out);
  }
  const std::string region = (folder / "bench_region.xml").string();
  if (!std::filesystem::exists(region))
    RunMeasured({tv::bench::ProgramFolder() + "/sigad_generator", region, "region"});
  const std::string bin = tv::bench::ProgramFolder() + "/../cli/transvormos";

  const double read = ReadSolution(tables);
  const Measure exported = RunMeasured({bin, "importar", small, "--workdir", tables.string()});
  const Measure regional = RunMeasured({bin, "importar", region, "--workdir", tables.string()});
  const Measure floor = RunMeasured({"xmllint", "--stream", "--noout", region});
  const double regionMegabytes =
      static_cast<double>(std::filesystem::file_size(region)) / (1 << 20);

  tv::bench::PrintRow("importar: SOLUC 1,000,000 rows, small SIGAD", exported.seconds, read,
                      exported.peakMegabytes, exported.status != 0);
  char name[128];
  std::snprintf(name, sizeof name, "importar: the same, region SIGAD (%.0f MB)", regionMegabytes);
  // The floor: the small file's export and a streaming parse of the region file.
  tv::bench::PrintRow(name, regional.seconds, exported.seconds + floor.seconds,
                      regional.peakMegabytes, regional.status != 0);
  if (argc <= 2) std::filesystem::remove_all(tables);
  return 0;
}
