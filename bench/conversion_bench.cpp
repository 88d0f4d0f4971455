// SIGAD-to-timetable figures for this machine: the conversion of a school's
// and of a whole region's synthetic SIGAD file, and of files that repeat one
// abbreviation 20,000 times, each next to its floor: libxml2's streaming
// parse of the same file (xmllint --stream --noout).
//
// Usage: conversion_bench [FOLDER]   (FOLDER: where the files go; /tmp by default)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "run_measure.h"

using tv::bench::Measure;
using tv::bench::RunMeasured;

namespace {

// A SIGAD file whose subjects and teachers all have the same abbreviation.
void WriteRepeats(const std::string& file, int count) {
  std::ofstream out(file);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><centro><materias>";
  for (int i = 0; i < count; ++i) {
    out << "<dmaterias abrev=\"MATEMATICA\" nombre=\"Matemáticas\" codigo_actividad=\"123\" "
           "codigo=\""
        << i << "\"/>";
  }
  out << "</materias><profesores>";
  for (int i = 0; i < count; ++i)
    out << "<profesor abrev=\"JGP\" nombre=\"Juan\" codigo=\"" << i << "\"/>";
  out << "</profesores></centro>\n";
}

void Row(const char* workload, const std::string& file, const std::string& bin,
         const std::filesystem::path& tables) {
  std::filesystem::remove_all(tables);
  std::filesystem::create_directories(tables);
  const Measure floor = RunMeasured({"xmllint", "--stream", "--noout", file});
  const Measure run =
      RunMeasured({bin + "/transvormos", "exportar", file, "--workdir", tables.string()});
  const double megabytes = static_cast<double>(std::filesystem::file_size(file)) / (1 << 20);
  char name[128];
  std::snprintf(name, sizeof name, "%s (%.1f MB)", workload, megabytes);
  tv::bench::PrintRow(name, run.seconds, floor.seconds, run.peakMegabytes, run.status != 0);
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : "/tmp";
  const std::string bin = tv::bench::ProgramFolder() + "/../cli";
  const std::string generator = tv::bench::ProgramFolder() + "/sigad_generator";
  const std::string school = (folder / "bench_school.xml").string();
  const std::string region = (folder / "bench_region.xml").string();
  const std::string repeats = (folder / "bench_repeats.xml").string();
  RunMeasured({generator, school, "school"});
  if (!std::filesystem::exists(region)) RunMeasured({generator, region, "region"});
  WriteRepeats(repeats, 20000);

  const auto tables = folder / "bench_vtemp";
  Row("exportar: a school", school, bin, tables);
  Row("exportar: 20,000 repeated codes", repeats, bin, tables);
  Row("exportar: a region", region, bin, tables);
  std::filesystem::remove_all(tables);
  return 0;
}
