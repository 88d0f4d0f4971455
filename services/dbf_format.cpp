#include "dbf_format.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "code_page.h"
#include "error.h"

namespace tv::dbf {
namespace {

struct LanguageDriver {
  unsigned char id;
  int codePage;
};

// Language driver byte to code page, as dBase, FoxPro and the Borland engine
// use them. Multi-byte Asian code pages are not listed: their texts are taken
// as they are.
constexpr LanguageDriver kLanguageDrivers[] = {
    {0x01, 437},  {0x02, 850},  {0x03, 1252}, {0x08, 865},  {0x09, 437}, {0x0A, 850},
    {0x0B, 437},  {0x0D, 437},  {0x0E, 850},  {0x0F, 437},  {0x10, 850}, {0x11, 437},
    {0x12, 850},  {0x14, 850},  {0x15, 437},  {0x16, 850},  {0x17, 865}, {0x18, 437},
    {0x19, 437},  {0x1A, 850},  {0x1B, 437},  {0x1C, 863},  {0x1D, 850}, {0x1F, 852},
    {0x22, 852},  {0x23, 852},  {0x24, 860},  {0x25, 850},  {0x26, 866}, {0x37, 850},
    {0x40, 852},  {0x57, 1252}, {0x58, 1252}, {0x59, 1252}, {0x64, 852}, {0x65, 866},
    {0x66, 865},  {0x67, 861},  {0x6A, 737},  {0x6B, 857},  {0x6C, 863}, {0xC8, 1250},
    {0xC9, 1251}, {0xCA, 1254}, {0xCB, 1253}, {0xCC, 1257},
};

// dBase 7 names its language driver; the name's start tells the code page.
int CodePageOfDriverName(std::string_view name) {
  if (name.starts_with("DBWIN") ||
      (name.starts_with("FOX") && name.find("WIN") != std::string_view::npos))
    return 1252;
  for (const int page : {437, 850, 852, 865, 866, 860, 861, 863}) {
    if (name.find(std::to_string(page)) != std::string_view::npos) return page;
  }
  return 0;
}

int UsableCodePage(int page) {
  if (page == 0) return 1252;
  try {
    CodePage::Get(page);
    return page;
  } catch (const Error&) {
    return 1252;
  }
}

bool IsFoxPro(unsigned char version) {
  return version == 0x30 || version == 0x31 || version == 0x32;
}

Storage StorageOf(char type, unsigned char version) {
  const bool dbase7 = (version & 0x07) == 4;
  switch (type) {
    case 'C':
    case 'V':
      return Storage::Text;
    case 'N':
    case 'F':
      return Storage::Number;
    case 'L':
      return Storage::Logical;
    case 'D':
      return Storage::Date;
    case 'I':
      return dbase7 ? Storage::IntDbase7 : Storage::IntLittle;
    case '+':
      return Storage::IntDbase7;
    case 'O':
      return Storage::DoubleDbase7;
    case 'B':
      return IsFoxPro(version) ? Storage::DoubleLittle : Storage::Memo;
    case 'Y':
      return Storage::Currency;
    case 'T':
      return Storage::DateTimeFox;
    case '@':
      return Storage::DateTimeDbase7;
    case 'M':
    case 'G':
    case 'P':
    case 'W':
    case 'Q':
      return Storage::Memo;
    default:
      return Storage::Text;
  }
}

// The fixed sizes of binary field types; 0 for types of any length.
std::uint32_t FixedLength(Storage storage) {
  switch (storage) {
    case Storage::IntLittle:
    case Storage::IntDbase7:
      return 4;
    case Storage::DoubleLittle:
    case Storage::DoubleDbase7:
    case Storage::Currency:
    case Storage::DateTimeFox:
    case Storage::DateTimeDbase7:
      return 8;
    default:
      return 0;
  }
}

[[noreturn]] void Corrupt(const std::string& file, std::string_view reason) {
  throw Error(Format("La tabla '%s' está dañada: %s", {file, reason}));
}

}  // namespace

std::uint32_t HeaderLength(const unsigned char* first12) { return Get16(first12 + 8); }

Layout ParseHeader(const std::vector<unsigned char>& bytes, std::uint64_t fileSize,
                   const std::string& file) {
  if (fileSize < kHeaderPrefix || bytes.size() < kHeaderPrefix) {
    Corrupt(file, "el archivo es demasiado corto para ser una tabla dBase");
  }
  const unsigned char* h = bytes.data();
  Layout layout{h[0], Get32(h + 4), Get16(h + 8), Get16(h + 10), 0, {}};
  const bool dbase7 = (layout.version & 0x07) == 4;
  const std::uint32_t first = dbase7 ? 68 : kHeaderPrefix;
  const std::uint32_t size = dbase7 ? 48 : 32;
  if (layout.headerLength < first + 1 || layout.headerLength > bytes.size() ||
      layout.headerLength > fileSize) {
    Corrupt(file, "la longitud de la cabecera no es válida");
  }
  if (layout.rowLength < 1) Corrupt(file, "la longitud de las filas no es válida");

  std::uint32_t offset = 0;
  std::uint32_t at = first;
  for (; at + size <= layout.headerLength && h[at] != kHeaderTerminator; at += size) {
    const unsigned char* d = h + at;
    const std::size_t nameSize = dbase7 ? 32 : 11;
    std::string name(reinterpret_cast<const char*>(d), nameSize);
    name.resize(std::min(name.find('\0'), name.size()));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    FieldLayout field;
    field.name = name;
    field.type = static_cast<char>(std::toupper(d[dbase7 ? 32 : 11]));
    field.storage = StorageOf(field.type, layout.version);
    field.length = d[dbase7 ? 33 : 16];
    field.decimals = d[dbase7 ? 34 : 17];
    if (field.type == 'C' && !dbase7) {
      field.length += static_cast<std::uint32_t>(field.decimals) << 8;
      field.decimals = 0;
    }
    field.offset = offset;
    const std::uint32_t fixed = FixedLength(field.storage);
    if (field.length == 0 || (fixed != 0 && field.length != fixed)) {
      Corrupt(file, Format("el campo '%s' tiene una longitud no válida", {name}));
    }
    offset += field.length;
    layout.fields.push_back(std::move(field));
  }
  if (offset + 1 > layout.rowLength)
    Corrupt(file, "los campos no caben en la longitud de las filas");
  const std::uint64_t needed =
      layout.headerLength + static_cast<std::uint64_t>(layout.rowCount) * layout.rowLength;
  if (needed > fileSize) {
    Corrupt(file, Format("el archivo termina antes de las %s filas que anuncia su cabecera",
                         {std::to_string(layout.rowCount)}));
  }

  int page = 0;
  if (dbase7)
    page = CodePageOfDriverName(std::string_view(reinterpret_cast<const char*>(h + 32), 32));
  if (page == 0) {
    for (const auto& driver : kLanguageDrivers) {
      if (driver.id == h[29]) page = driver.codePage;
    }
  }
  layout.codePage = UsableCodePage(page);
  return layout;
}

}  // namespace tv::dbf
