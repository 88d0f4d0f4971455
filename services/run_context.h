// What the two runs share: the program-wide values, the main window's state
// and its table components.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "main_form_tables.h"
#include "xml_document.h"

namespace tv {

// The program-wide values, one of each for the life of the process.
struct ProgramState {
  // True when the program was started by the timetabling product, embedded
  // in one of its windows. Set once at start-up.
  bool hostedMode = false;
  // The outcome for the host: 0 no run has completed, 1 the last run
  // completed, -1 a run did not start because its input was missing (hosted
  // mode only).
  std::int32_t resultCode = 0;
};

// The main window's state that the runs read and write.
struct RunContext {
  RunContext(ProgramState& state, std::filesystem::path directory)
      : program(state), workDirectory(std::move(directory)) {}

  ProgramState& program;
  // Where the work tables are.
  std::filesystem::path workDirectory;
  // The SIGAD file chosen last in the open dialog, in either direction;
  // empty until one is chosen.
  std::string xmlFilePath;
  // The document of the last run; each run makes a new one.
  std::unique_ptr<XmlDocument> xmlDocument;
  // The eight table components.
  MainFormTables tables;
};

// How a run that raised no error ended.
enum class RunOutcome {
  Completed,     // "Proceso finalizado" was shown
  InputMissing,  // a file it needs did not exist
};

// Whether a regular file exists at the path; an empty path or a folder does
// not count.
bool IsExistingFile(const std::string& path);

}  // namespace tv
