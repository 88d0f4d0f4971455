// Groups: "/centro/grupos/dgrupo" to GRUPOST.
//
// The abbreviation joins shift, year, level and the last character of the
// name; repeats (letters compared without case) are numbered on a
// 9-character base and the result is cut to 10 characters. The tutor's SIGAD
// id becomes the teacher's abbreviation through PROFT, which the teachers
// converter has just written; wwTableProfesor stays open for the
// assignments converter.
#include "conversion.h"
#include "sigad_attributes.h"
#include "text.h"

namespace tv {
namespace {

const std::vector<FieldDef> kFields = {
    {"ABREV", FieldType::Character, 10}, {"TURNO", FieldType::Character, 1},
    {"NIVEL", FieldType::Character, 5},  {"CURSO", FieldType::Character, 3},
    {"GRUPO", FieldType::Character, 2},  {"DESCRIP", FieldType::Character, 80},
    {"TUTOR", FieldType::Character, 10}, {"IDGRUPO", FieldType::Character, 10},
};

// The tutor's abbreviation, or the empty text when no teacher has the id.
std::string TutorAbbreviation(WorkTable& teachers, const std::string& tutorId) {
  teachers.First();
  return teachers.Locate("IDPROF", tutorId) ? teachers.Text("ABREV") : std::string();
}

}  // namespace

void ConvertGrupos(Conversion& conversion) {
  WorkTable::DeleteFiles(conversion.workDirectory, "GRUPOST");
  CodeList groupCodes(CodeList::Letters::CaseInsensitive);
  auto table = WorkTable::Create(conversion.workDirectory, "GRUPOST", kFields);
  WorkTable& teachers = conversion.tables.wwTableProfesor();
  teachers.Open();
  const XmlNodeList groups = conversion.document.selectNodes("/centro/grupos/dgrupo");
  table->Open();
  for (std::int32_t i = 0; i < groups.length(); ++i) {
    const XmlNode group = groups.item(i);
    const std::string name = Trimmed(group, "nombre");
    const std::string level = Trimmed(group, "codigo_nivel");
    const std::string shift = Trimmed(group, "turno");
    const std::string year = Trimmed(group, "curso");
    const std::string letter = RightChars(name, 1);
    const std::string abbreviation = shift + year + level + letter;
    const std::string tutor = TutorAbbreviation(teachers, Trimmed(group, "codigo_tutor"));
    const std::string code = groupCodes.Holds(ShortenedCode(abbreviation))
                                 ? groupCodes.Numbered(abbreviation, 9)
                                 : ShortenedCode(abbreviation);
    groupCodes.Add(code);

    table->Append();
    table->SetText("ABREV", code);
    table->SetText("TURNO", shift);
    table->SetText("NIVEL", level);
    table->SetText("CURSO", year);
    table->SetText("GRUPO", letter);
    table->SetText("DESCRIP", name);
    table->SetText("TUTOR", tutor);
    table->SetText("IDGRUPO", Trimmed(group, "codigo"));
    table->Post();
  }
  table->Close();
}

}  // namespace tv
