// The main window's eight table components: one WorkTable for each work
// table of the timetabling product, each opened exclusively and closed until
// a run opens it.
#pragma once

#include <filesystem>
#include <memory>

#include "work_table.h"

namespace tv {

class MainFormTables {
 public:
  // Makes the eight table objects anew, closed, bound to the tables of
  // `workDirectory`. Objects held before are closed and released.
  void Renew(const std::filesystem::path& workDirectory);
  // Closes every table object that is open.
  void CloseAll();
  // Closes and releases all eight; the accessors below then throw.
  void Release();

  WorkTable& wwTableNomAsg() { return Get(nomAsg_); }      // ASIGNOMT, subjects
  WorkTable& wwTableProfesor() { return Get(profesor_); }  // PROFT, teachers
  WorkTable& wwTableTramos() { return Get(tramos_); }      // DIASHORAST, never opened
  WorkTable& wwTableAulas() { return Get(aulas_); }        // AULAT, rooms
  WorkTable& wwTableGrupos() { return Get(grupos_); }      // GRUPOST, groups
  WorkTable& wwTableAsig() { return Get(asig_); }          // ASIGT, subject assignments
  WorkTable& wwTableSoluc() { return Get(soluc_); }        // SOLUC, the timetable solution
  WorkTable& wwTableCursos() { return Get(cursos_); }      // CURSOST, never opened

 private:
  static WorkTable& Get(const std::unique_ptr<WorkTable>& table);
  std::unique_ptr<WorkTable> nomAsg_, profesor_, tramos_, aulas_, grupos_, asig_, soluc_, cursos_;
};

}  // namespace tv
