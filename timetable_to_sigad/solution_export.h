// Timetable to SIGAD: the timetable the timetabling product computed into
// SOLUC becomes SIGAD solution records, in a new XML file beside the SIGAD
// file the user picks.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

#include "run_context.h"
#include "user_interface.h"

namespace tv {

// The run of the "Aceptar" button of timetable to SIGAD. Asks for the SIGAD
// file the timetable data came from; keeps its root's identity ("codigo_interno",
// "nombre", "curso", "version"), replaces its content with one "dsolucion"
// element per exported SOLUC row, and saves that as "ResultadoVormos" followed
// by the file's name, beside it. Says "Proceso finalizado" and records the
// outcome in the result code; hosted, it then closes the main window.
//
// The result file is written whole or not at all, and the picked file is
// never changed. An error ends the run and propagates; every table object
// the run opened is closed on the way out.
RunOutcome RunSolutionExport(RunContext& context, UserInterface& ui);

// "D:\Datos\centro.xml" gives "D:\Datos\ResultadoVormoscentro.xml".
std::filesystem::path ResultFile(const std::filesystem::path& sigadFile);

// The moment of an export in the user's regional formats of date and time
// (LC_TIME), one space between; without regional settings the Spanish
// default, "08/12/2025 9:05:07" (dd/MM/yyyy H:mm:ss).
std::string ExportTimestamp(std::time_t moment);

}  // namespace tv
