#include "solution_export.h"

#include <array>

#include "error.h"
#include "run_guard.h"
#include "sigad_attributes.h"
#include "table_file.h"
#include "text.h"
#include "xml_document.h"

namespace tv {
namespace {

// A lookup table of the export: a code found in one field gives the SIGAD id
// in another.
class Lookup {
 public:
  Lookup(WorkTable& table, std::string_view codeField, std::string_view idField)
      : table_(table), code_(table.FieldNumber(codeField)), id_(table.FieldNumber(idField)) {}
  // The id of the first row with the code, or nothing.
  std::optional<std::string> Find(const std::string& code) {
    if (!table_.Locate(code_, code)) return std::nullopt;
    return table_.Text(id_);
  }

 private:
  WorkTable& table_;
  int code_, id_;
};

// The SIGAD file, root and all: a file that is not SIGAD stops the export
// before any table is opened.
std::unique_ptr<XmlDocument> LoadSigad(const std::string& path) {
  auto document = std::make_unique<XmlDocument>();
  if (!document->load(path, XmlDocument::Scope::Envelope)) {
    throw Error(Format("El archivo '%s' no es un documento XML válido", {path}));
  }
  if (!document->selectSingleNode("/centro")) {
    throw Error(Format(
        "El archivo '%s' no es un archivo XML de SIGAD: le falta el elemento 'centro'", {path}));
  }
  return document;
}

struct SchoolIdentity {
  std::string code, name, year, version;
};

// Replaces the root with a new "centro" carrying the school's identity and
// the export's moment; returns the "solucion_horario" section.
XmlNode RebuildRoot(XmlDocument& document, const SchoolIdentity& school) {
  document.removeChild(*document.documentElement());
  XmlNode root = document.createElement("centro");
  root.setAttribute("codigo_interno", school.code);
  root.setAttribute("nombre", school.name);
  root.setAttribute("curso", school.year);
  root.setAttribute("fecha_exportacion", ExportTimestamp(std::time(nullptr)));
  root.setAttribute("version", school.version);
  document.appendChild(root);
  root.appendChild(document.createNode(1, "solucion_horario", ""));
  return *root.selectSingleNode("/centro/solucion_horario");
}

// One "dsolucion" element for each SOLUC row with a day, a period and a
// subject that ASIGNOMT knows.
void ExportRows(RunContext& context, XmlDocument& document, XmlNode section) {
  MainFormTables& tables = context.tables;
  WorkTable& solution = tables.wwTableSoluc();
  // Field numbers once, not once per row: there may be a million rows.
  enum { DIA, HORA, SESIONES, CODGRUPO, ASIG, TAREA, PROF, AULA };
  std::array<int, 8> field{};
  const char* names[] = {"DIA", "HORA", "SESIONES", "CODGRUPO", "ASIG", "TAREA", "PROF", "AULA"};
  for (std::size_t i = 0; i < field.size(); ++i) field[i] = solution.FieldNumber(names[i]);
  Lookup groups(tables.wwTableGrupos(), "ABREV", "IDGRUPO");
  Lookup subjects(tables.wwTableNomAsg(), "COD", "IDASIG");
  Lookup teachers(tables.wwTableProfesor(), "ABREV", "IDPROF");
  Lookup rooms(tables.wwTableAulas(), "ABREV", "IDAULA");

  for (solution.First(); !solution.Eof(); solution.Next()) {
    if (solution.Integer(field[DIA]) == 0 || solution.Float(field[HORA]) == 0) continue;
    const std::int32_t day = solution.Integer(field[DIA]);
    const std::string period = solution.Text(field[HORA]);
    const std::string sessions = solution.Text(field[SESIONES]);
    const std::string group = groups.Find(solution.Text(field[CODGRUPO])).value_or("");
    const auto subject = subjects.Find(solution.Text(field[ASIG]));
    if (!subject) continue;
    const std::string activityCode = solution.Text(field[TAREA]);
    const std::string activity = subjects.Find(activityCode).value_or(activityCode);
    const std::string teacher = teachers.Find(solution.Text(field[PROF])).value_or("");
    const std::string room = rooms.Find(solution.Text(field[AULA])).value_or("");

    XmlNode record = document.createElement("dsolucion");
    record.setAttribute("casig", *subject);
    record.setAttribute("cgrupo", group);
    record.setAttribute("cprofe", teacher);
    record.setAttribute("caula", room);
    record.setAttribute("cactiv", activity);
    record.setAttribute("dia", day);
    record.setAttribute("hora", period);
    record.setAttribute("sesiones", sessions);
    record.setAttribute("idcurso", "");
    section.appendChild(record);
  }
}

}  // namespace

std::filesystem::path ResultFile(const std::filesystem::path& sigadFile) {
  return sigadFile.parent_path() / ("ResultadoVormos" + sigadFile.filename().string());
}

RunOutcome RunSolutionExport(RunContext& context, UserInterface& ui) {
  if (auto chosen = ui.PickXmlFile("Deberá Abrir el fichero XML de SIGAD,\r\n"
                                   "desde el cual realizó la Importación a Vormelan")) {
    context.xmlFilePath = std::move(*chosen);
  }
  if (!IsExistingFile(context.xmlFilePath) ||
      !IsExistingFile(FindFile(context.workDirectory, "SOLUC.DBF").string())) {
    ui.ShowMessage("No existe archivo XML o Solución.");
    if (context.program.hostedMode) {
      context.program.resultCode = -1;
      ui.CloseMainWindow();
    }
    return RunOutcome::InputMissing;
  }
  {
    RunGuard guard(ui, context.tables);
    context.xmlDocument = LoadSigad(context.xmlFilePath);
    XmlDocument& document = *context.xmlDocument;
    context.tables.Renew(context.workDirectory);
    MainFormTables& tables = context.tables;
    for (WorkTable* table :
         {&tables.wwTableSoluc(), &tables.wwTableGrupos(), &tables.wwTableProfesor(),
          &tables.wwTableAulas(), &tables.wwTableNomAsg(), &tables.wwTableAsig()}) {
      table->Open();
    }
    const XmlNode root = document.selectNodes("/centro").item(0);
    const SchoolIdentity school{Trimmed(root, "codigo_interno"), Trimmed(root, "nombre"),
                                Trimmed(root, "curso"), Trimmed(root, "version")};
    ExportRows(context, document, RebuildRoot(document, school));
    tables.Release();
    document.save(ResultFile(context.xmlFilePath));
  }
  context.program.resultCode = 1;
  ui.ShowMessage("Proceso finalizado");
  if (context.program.hostedMode) ui.CloseMainWindow();
  return RunOutcome::Completed;
}

}  // namespace tv
