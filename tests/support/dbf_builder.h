// Builds dBase files byte by byte, for tests of files other programs write
// and of damaged ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tv::test {

struct RawField {
  std::string name;
  char type;
  int length;
  int decimals = 0;
};

class DbfBuilder {
 public:
  DbfBuilder(unsigned char version, unsigned char languageDriver, std::vector<RawField> fields);
  // Adds a row from the packed field bytes; `deleted` marks it with '*'.
  DbfBuilder& Row(const std::string& bytes, bool deleted = false);
  // The whole file; the header counts `rowCount` rows when it is not -1.
  std::string Bytes(long long rowCount = -1, bool endMarker = true) const;

 private:
  unsigned char version_, languageDriver_;
  std::vector<RawField> fields_;
  std::vector<std::string> rows_;
};

}  // namespace tv::test
