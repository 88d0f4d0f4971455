// transvormos: the converter without a window, for scripts and tests.
#include <CLI/CLI.hpp>

#include <clocale>
#include <csignal>
#include <iostream>

#include "dump.h"
#include "error.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  // A file-size limit must fail the write with an error, not kill the program.
  std::signal(SIGXFSZ, SIG_IGN);

  CLI::App app{"TransVormosSigad sin ventana: convierte entre SIGAD y las tablas de Vormelan", "transvormos"};
  app.require_subcommand(1);

  std::string table;
  bool csv = false;
  auto* dump = app.add_subcommand("dump", "Muestra los campos y las filas de una tabla dBase");
  dump->add_option("TABLA", table, "Archivo de la tabla (.DBF)")->required();
  dump->add_flag("--csv", csv, "Escribe CSV en lugar de columnas alineadas");

  CLI11_PARSE(app, argc, argv);
  try {
    if (*dump) tv::DumpTable(table, csv, std::cout);
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << tv::WithFullStop(e.what()) << "\n";
    return 1;
  }
  return 0;
}
