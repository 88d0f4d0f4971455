// The SIGAD-to-timetable conversion: one run over a loaded SIGAD document
// that rebuilds five work tables, one converter each, in a fixed order. The
// order carries data: the groups converter looks tutors up in the teacher
// table just written, and the assignments converter reads the subject,
// teacher and group tables of the same run.
#pragma once

#include <filesystem>
#include <optional>

#include "code_list.h"
#include "main_form_tables.h"
#include "run_context.h"
#include "user_interface.h"
#include "xml_document.h"

namespace tv {

// What the converters of one run share.
struct Conversion {
  XmlDocument& document;
  const std::filesystem::path& workDirectory;
  MainFormTables& tables;
  // The subject codes given out in the run: made empty for each run, filled
  // and released by ConvertMaterias.
  std::optional<CodeList> subjectCodes{CodeList::Letters::CaseSensitive};
};

// "/centro/materias/dmaterias" to ASIGNOMT, with unique subject codes and the
// fixed row "LECT".
void ConvertMaterias(Conversion& conversion);
// "/centro/profesores/profesor" to PROFT, with unique abbreviations.
void ConvertProfesores(Conversion& conversion);
// "/centro/aulas/daula" to AULAT, with abbreviations made from the names.
void ConvertAulas(Conversion& conversion);
// "/centro/grupos/dgrupo" to GRUPOST, each tutor found in PROFT. Leaves
// wwTableProfesor open for ConvertAsignaturas.
void ConvertGrupos(Conversion& conversion);
// "/centro/asignaturas/dasignatura" to ASIGT, SIGAD ids turned into the
// codes of ASIGNOMT, PROFT and GRUPOST. Closes the three lookup tables.
void ConvertAsignaturas(Conversion& conversion);

// The conversion run of the "Aceptar" button of SIGAD to timetable: asks for
// the SIGAD file, loads it, calls the five converters, says "Proceso
// finalizado" and records the outcome in the result code; hosted, it then
// closes the main window. An error ends the run where it arises and
// propagates; every table object the run opened is closed on the way out,
// and the tables written before stay written.
RunOutcome RunConversion(RunContext& context, UserInterface& ui);

}  // namespace tv
