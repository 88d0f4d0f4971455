// transvormos: the converter without a window, for scripts and tests.
#include <CLI/CLI.hpp>
#include <clocale>
#include <csignal>
#include <iostream>

#include "console_ui.h"
#include "conversion.h"
#include "dump.h"
#include "error.h"
#include "run_context.h"
#include "solution_export.h"
#include "work_directory.h"

namespace {

// Exit codes: 0 done, 1 an error (its message on standard error), 2 an input
// file was missing.
int Exit(tv::RunOutcome outcome) { return outcome == tv::RunOutcome::Completed ? 0 : 2; }

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  // A file-size limit must fail the write with an error, not kill the program.
  std::signal(SIGXFSZ, SIG_IGN);

  CLI::App app{"TransVormosSigad sin ventana: convierte entre SIGAD y las tablas de Vormelan",
               "transvormos"};
  app.require_subcommand(1);

  std::string file, workDirectory;
  bool csv = false;
  auto* exportar = app.add_subcommand(
      "exportar", "SIGAD a Vormelan: reconstruye las tablas de trabajo desde un XML de SIGAD");
  exportar->add_option("ARCHIVO", file, "Archivo XML de SIGAD")->required();
  exportar->add_option(
      "--workdir", workDirectory,
      "Carpeta de las tablas de trabajo (por omisión, VTEMP en la unidad C: de Wine)");

  auto* importar = app.add_subcommand(
      "importar", "Vormelan a SIGAD: escribe el horario de SOLUC como XML de SIGAD");
  importar->add_option("ARCHIVO", file, "Archivo XML de SIGAD del que se tomaron los datos")
      ->required();
  importar->add_option(
      "--workdir", workDirectory,
      "Carpeta de las tablas de trabajo (por omisión, VTEMP en la unidad C: de Wine)");

  auto* dump = app.add_subcommand("dump", "Muestra los campos y las filas de una tabla dBase");
  dump->add_option("TABLA", file, "Archivo de la tabla (.DBF)")->required();
  dump->add_flag("--csv", csv, "Escribe CSV en lugar de columnas alineadas");

  CLI11_PARSE(app, argc, argv);
  try {
    if (*dump) {
      tv::DumpTable(file, csv, std::cout);
      return 0;
    }
    tv::ProgramState program;
    tv::RunContext context(program, workDirectory.empty() ? tv::DefaultWorkDirectory()
                                                          : std::filesystem::path(workDirectory));
    tv::ConsoleUserInterface ui(file, std::cout);
    return Exit(*exportar ? tv::RunConversion(context, ui) : tv::RunSolutionExport(context, ui));
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << tv::WithFullStop(e.what()) << "\n";
    return 1;
  }
}
