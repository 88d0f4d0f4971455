#include "dbf_builder.h"

#include <cstring>

namespace tv::test {

DbfBuilder::DbfBuilder(unsigned char version, unsigned char languageDriver,
                       std::vector<RawField> fields)
    : version_(version), languageDriver_(languageDriver), fields_(std::move(fields)) {}

DbfBuilder& DbfBuilder::Row(const std::string& bytes, bool deleted) {
  rows_.push_back(std::string(1, deleted ? '*' : ' ') + bytes);
  return *this;
}

std::string DbfBuilder::Bytes(long long rowCount, bool endMarker) const {
  const bool dbase7 = (version_ & 7) == 4;
  const std::size_t start = dbase7 ? 68 : 32, size = dbase7 ? 48 : 32;
  const std::size_t headerLength = start + size * fields_.size() + 1;
  std::string h(headerLength, '\0');
  int rowLength = 1;
  for (const auto& f : fields_) rowLength += f.length;
  const auto count =
      static_cast<std::uint32_t>(rowCount < 0 ? static_cast<long long>(rows_.size()) : rowCount);
  h[0] = static_cast<char>(version_);
  h[1] = 126, h[2] = 12, h[3] = 10;
  for (int i = 0; i < 4; ++i) h[4 + i] = static_cast<char>(count >> (8 * i));
  h[8] = static_cast<char>(headerLength & 0xFF), h[9] = static_cast<char>(headerLength >> 8);
  h[10] = static_cast<char>(rowLength & 0xFF), h[11] = static_cast<char>(rowLength >> 8);
  h[29] = static_cast<char>(languageDriver_);
  if (dbase7) std::memcpy(&h[32], "DBWINUS0", 8);
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    char* d = &h[start + size * i];
    std::memcpy(d, fields_[i].name.data(), fields_[i].name.size());
    d[dbase7 ? 32 : 11] = fields_[i].type;
    d[dbase7 ? 33 : 16] = static_cast<char>(fields_[i].length & 0xFF);
    d[dbase7 ? 34 : 17] = static_cast<char>(fields_[i].decimals);
  }
  h[headerLength - 1] = 0x0D;
  std::string file = h;
  for (const auto& row : rows_) file += row;
  if (endMarker) file += '\x1A';
  return file;
}

}  // namespace tv::test
