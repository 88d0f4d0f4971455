// Teachers: "/centro/profesores/profesor" to PROFT.
//
// The abbreviation is SIGAD's, numbered when another teacher of the run has
// it already, letters compared without case. The list keeps abbreviations as
// computed, also where the 10-character field keeps only their start.
#include "conversion.h"
#include "sigad_attributes.h"

namespace tv {
namespace {

const std::vector<FieldDef> kFields = {
    {"ABREV", FieldType::Character, 10},  {"NOMBRE", FieldType::Character, 80},
    {"DEPART", FieldType::Character, 40}, {"DNI", FieldType::Character, 14},
    {"IDPROF", FieldType::Character, 10},
};

}  // namespace

void ConvertProfesores(Conversion& conversion) {
  WorkTable::DeleteFiles(conversion.workDirectory, "PROFT");
  CodeList teacherCodes(CodeList::Letters::CaseInsensitive);
  auto table = WorkTable::Create(conversion.workDirectory, "PROFT", kFields);
  const XmlNodeList teachers = conversion.document.selectNodes("/centro/profesores/profesor");
  table->Open();
  for (std::int32_t i = 0; i < teachers.length(); ++i) {
    const XmlNode teacher = teachers.item(i);
    std::string abbreviation = Trimmed(teacher, "abrev");
    // The comma and the spaces stand whether or not the parts are empty.
    const std::string name = Trimmed(teacher, "nombre") + ", " + Trimmed(teacher, "apellido1") +
                             " " + Trimmed(teacher, "apellido2");
    const std::string department = Trimmed(teacher, "departamen");
    const std::string document = Trimmed(teacher, "documento");
    const std::string id = Trimmed(teacher, "codigo");
    if (teacherCodes.Holds(abbreviation)) abbreviation = teacherCodes.Numbered(abbreviation, 9);
    teacherCodes.Add(abbreviation);

    table->Append();
    table->SetText("ABREV", abbreviation);
    table->SetText("NOMBRE", name);
    table->SetText("DNI", document);
    table->SetText("DEPART", department);
    table->SetText("IDPROF", id);
    table->Post();
  }
  table->Close();
}

}  // namespace tv
