// Subjects: "/centro/materias/dmaterias" to ASIGNOMT.
//
// The subject code COD comes from the SIGAD abbreviation, or from the
// initials of the name when there is none, without spaces, cut to 10
// characters and numbered until it is new in the run. A subject whose
// abbreviation equals its activity code is passed over. After the subjects
// comes the fixed row "LECT".
#include "conversion.h"
#include "sigad_attributes.h"
#include "text.h"

namespace tv {
namespace {

const std::vector<FieldDef> kFields = {
    {"COD", FieldType::Character, 10},    {"CODLARGO", FieldType::Character, 10},
    {"NOMBRE", FieldType::Character, 80}, {"DENIVEL", FieldType::Character, 5},
    {"DECURSO", FieldType::Character, 3}, {"CODTAREA", FieldType::Character, 10},
    {"ESTAREA", FieldType::Logical},      {"IDASIG", FieldType::Character, 10},
};

// The code of a subject before numbering.
std::string SubjectCode(const std::string& abbreviation, const std::string& name) {
  std::string code = abbreviation;
  if (code.empty()) code = LeftChars(name, 1) + WordInitials(name);
  return LeftChars(RemoveSpaces(code), 10);
}

void AppendFixedRow(WorkTable& table) {
  table.Append();
  table.SetText("COD", "LECT");
  table.SetText("CODLARGO", "LECTIVA");
  table.SetText("NOMBRE", "Materia Lectiva de Docencia Directa");
  table.SetText("DENIVEL", "");
  table.SetText("DECURSO", "");
  table.SetText("CODTAREA", "LECT");
  table.SetLogical("ESTAREA", true);
  table.SetText("IDASIG", "LECT");
  table.Post();
}

}  // namespace

void ConvertMaterias(Conversion& conversion) {
  WorkTable::DeleteFiles(conversion.workDirectory, "ASIGNOMT");
  auto table = WorkTable::Create(conversion.workDirectory, "ASIGNOMT", kFields);
  const XmlNodeList subjects = conversion.document.selectNodes("/centro/materias/dmaterias");
  CodeList& codes = *conversion.subjectCodes;
  table->Open();
  for (std::int32_t i = 0; i < subjects.length(); ++i) {
    const XmlNode subject = subjects.item(i);
    const std::string abbreviation = Trimmed(subject, "abrev");
    const std::string name = Trimmed(subject, "nombre");
    if (abbreviation == Trimmed(subject, "codigo_actividad")) continue;
    std::string code = SubjectCode(abbreviation, name);
    if (codes.Holds(code)) code = codes.Numbered(code, 9);
    codes.Add(code);

    table->Append();
    table->SetText("COD", code);
    table->SetText("CODLARGO", LeftChars(name, 10));
    table->SetText("NOMBRE", name);
    table->SetText("DENIVEL", Trimmed(subject, "denivel"));
    table->SetText("DECURSO", Trimmed(subject, "decurso"));
    table->SetText("CODTAREA", Trimmed(subject, "codigo_actividad"));
    table->SetLogical("ESTAREA", false);
    table->SetText("IDASIG", Trimmed(subject, "codigo"));
    table->Post();
  }
  AppendFixedRow(*table);
  table->Close();
  conversion.subjectCodes.reset();
}

}  // namespace tv
