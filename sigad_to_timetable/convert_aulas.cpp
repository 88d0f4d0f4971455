// Rooms: "/centro/aulas/daula" to AULAT.
//
// The abbreviation is the name's first character and the initials of its
// other words; one shorter than 3 characters gives way to the name's first
// 8 characters. Repeats (letters compared without case) are numbered on an
// 8-character base, and the result is cut to 10 characters.
#include "conversion.h"
#include "sigad_attributes.h"
#include "text.h"

namespace tv {
namespace {

const std::vector<FieldDef> kFields = {
    {"ABREV", FieldType::Character, 10},   {"NOMBRE", FieldType::Character, 80},
    {"EDIFICIO", FieldType::Character, 1}, {"MAXALUM", FieldType::Integer},
    {"IDAULA", FieldType::Character, 20},
};

std::string RoomAbbreviation(const std::string& name) {
  const std::string initials = LeftChars(name, 1) + WordInitials(name);
  return initials.size() < 3 ? LeftChars(name, 8) : initials;
}

}  // namespace

void ConvertAulas(Conversion& conversion) {
  WorkTable::DeleteFiles(conversion.workDirectory, "AULAT");
  CodeList roomCodes(CodeList::Letters::CaseInsensitive);
  auto table = WorkTable::Create(conversion.workDirectory, "AULAT", kFields);
  const XmlNodeList rooms = conversion.document.selectNodes("/centro/aulas/daula");
  table->Open();
  for (std::int32_t i = 0; i < rooms.length(); ++i) {
    const XmlNode room = rooms.item(i);
    const std::string name = Trimmed(room, "nombre");
    const std::string abbreviation = RoomAbbreviation(name);
    const std::string code = roomCodes.Holds(ShortenedCode(abbreviation))
                                 ? roomCodes.Numbered(abbreviation, 8)
                                 : ShortenedCode(abbreviation);
    roomCodes.Add(code);

    table->Append();
    table->SetText("ABREV", code);
    table->SetText("NOMBRE", name);
    table->SetText("MAXALUM", Trimmed(room, "capacidad_alumnos"));
    table->SetText("IDAULA", Trimmed(room, "codigo"));
    table->Post();
  }
  table->Close();
}

}  // namespace tv
