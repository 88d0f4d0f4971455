#include "dump.h"

#include <algorithm>
#include <string>
#include <vector>

#include "code_page.h"
#include "work_table.h"

namespace tv {
namespace {

constexpr std::size_t kMaxColumn = 40;

std::size_t Characters(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// At most `width` characters, the last one an ellipsis when cut.
std::string Fit(const std::string& utf8, std::size_t width) {
  if (Characters(utf8) <= width) return utf8 + std::string(width - Characters(utf8), ' ');
  std::string out;
  std::size_t count = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const bool starts = (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
    if (starts && ++count == width) break;
    out += utf8[i];
  }
  return out + "…";
}

std::string CsvField(const std::string& value) {
  const bool plain = value.find_first_of(",\"\r\n") == std::string::npos &&
                     (value.empty() || (value.front() != ' ' && value.back() != ' '));
  if (plain) return value;
  std::string quoted = "\"";
  for (const char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string TypeText(const dbf::FieldLayout& field) {
  std::string text = std::string(1, field.type) + "(" + std::to_string(field.length);
  if (field.decimals > 0) text += "," + std::to_string(field.decimals);
  return text + ")";
}

}  // namespace

void DumpTable(const std::filesystem::path& file, bool csv, std::ostream& out) {
  WorkTable table(file.parent_path().empty() ? "." : file.parent_path(), file.filename().string(),
                  Access::Shared);
  table.Open();
  const auto& fields = table.Fields();
  const int count = static_cast<int>(fields.size());
  auto row = [&](int field) { return AnsiToUtf8(table.Text(field)); };

  if (csv) {
    for (int f = 0; f < count; ++f) out << (f ? "," : "") << CsvField(fields[f].name);
    out << "\n";
    for (table.First(); !table.Eof(); table.Next()) {
      for (int f = 0; f < count; ++f) out << (f ? "," : "") << CsvField(row(f));
      out << "\n";
    }
    return;
  }

  std::vector<std::size_t> widths;
  for (const auto& field : fields)
    widths.push_back(std::min(kMaxColumn, std::max<std::size_t>(1, field.name.size())));
  std::size_t rows = 0;
  for (table.First(); !table.Eof(); table.Next(), ++rows) {
    for (int f = 0; f < count; ++f)
      widths[f] = std::min(kMaxColumn, std::max(widths[f], Characters(row(f))));
  }
  out << "Tabla " << table.FilePath().string() << ": " << rows << (rows == 1 ? " fila" : " filas")
      << ", página de códigos " << table.CodePage() << "\n";
  out << "Campos:";
  for (const auto& field : fields) out << " " << field.name << " " << TypeText(field);
  out << "\n\n";
  auto line = [&](auto cell) {
    std::string text;
    for (int f = 0; f < count; ++f) text += (f ? " " : "") + cell(f);
    out << text.substr(0, text.find_last_not_of(' ') + 1) << "\n";
  };
  line([&](int f) { return Fit(fields[f].name, widths[f]); });
  line([&](int f) { return std::string(widths[f], '-'); });
  for (table.First(); !table.Eof(); table.Next())
    line([&](int f) { return Fit(row(f), widths[f]); });
}

}  // namespace tv
