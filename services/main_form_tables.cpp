#include "main_form_tables.h"

#include <stdexcept>

namespace tv {

void MainFormTables::Renew(const std::filesystem::path& workDirectory) {
  Release();
  auto make = [&](const char* table, const char* component) {
    return std::make_unique<WorkTable>(workDirectory, table, Access::Exclusive, component);
  };
  nomAsg_ = make("ASIGNOMT", "wwTableNomAsg");
  profesor_ = make("PROFT", "wwTableProfesor");
  tramos_ = make("DIASHORAST", "wwTableTramos");
  aulas_ = make("AULAT", "wwTableAulas");
  grupos_ = make("GRUPOST", "wwTableGrupos");
  asig_ = make("ASIGT", "wwTableAsig");
  soluc_ = make("SOLUC", "wwTableSoluc");
  cursos_ = make("CURSOST", "wwTableCursos");
}

void MainFormTables::CloseAll() {
  for (auto* table :
       {&nomAsg_, &profesor_, &tramos_, &aulas_, &grupos_, &asig_, &soluc_, &cursos_}) {
    if (*table) (*table)->Close();
  }
}

void MainFormTables::Release() {
  for (auto* table :
       {&nomAsg_, &profesor_, &tramos_, &aulas_, &grupos_, &asig_, &soluc_, &cursos_}) {
    table->reset();
  }
}

WorkTable& MainFormTables::Get(const std::unique_ptr<WorkTable>& table) {
  if (!table) throw std::logic_error("the main window's table objects were released");
  return *table;
}

}  // namespace tv
