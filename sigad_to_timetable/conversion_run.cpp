// The conversion run: SIGAD file to the five work tables.
#include "conversion.h"
#include "run_guard.h"

namespace tv {

RunOutcome RunConversion(RunContext& context, UserInterface& ui) {
  if (auto chosen = ui.PickXmlFile()) context.xmlFilePath = std::move(*chosen);
  if (!IsExistingFile(context.xmlFilePath)) {
    ui.ShowMessage("No existe archivo");
    if (context.program.hostedMode) {
      context.program.resultCode = -1;
      ui.CloseMainWindow();
    }
    return RunOutcome::InputMissing;
  }
  context.xmlDocument = std::make_unique<XmlDocument>();
  context.xmlDocument->load(context.xmlFilePath);
  {
    context.tables.Renew(context.workDirectory);
    RunGuard guard(ui, context.tables);
    Conversion conversion{*context.xmlDocument, context.workDirectory, context.tables};
    ConvertMaterias(conversion);
    ConvertProfesores(conversion);
    ConvertAulas(conversion);
    ConvertGrupos(conversion);
    ConvertAsignaturas(conversion);
  }
  context.program.resultCode = 1;
  ui.ShowMessage("Proceso finalizado");
  if (context.program.hostedMode) ui.CloseMainWindow();
  return RunOutcome::Completed;
}

}  // namespace tv
