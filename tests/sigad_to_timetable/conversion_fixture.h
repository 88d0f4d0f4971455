// A SIGAD document, a work directory and the tables a converter writes.
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "conversion.h"
#include "test_support.h"

namespace tv::test {

using Rows = std::vector<std::vector<std::string>>;

class ConversionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "es_ES.UTF-8"));
    tables_.Renew(dir_.path());
  }
  void TearDown() override { std::setlocale(LC_NUMERIC, saved_.c_str()); }

  // Loads a document whose root "centro" holds `sections` (UTF-8).
  void Load(const std::string& sections) {
    WriteFile(dir_ / "centro.xml",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><centro>" + sections + "</centro>");
    ASSERT_TRUE(document_.load(dir_ / "centro.xml"));
    conversion_.emplace(Conversion{document_, dir_.path(), tables_});
  }
  Conversion& conversion() { return *conversion_; }

  // The named fields of every row of a table, as UTF-8 text.
  Rows Read(const std::string& table, const std::vector<std::string>& fields) {
    WorkTable t(dir_.path(), table, Access::Exclusive);
    t.Open();
    Rows rows;
    for (t.First(); !t.Eof(); t.Next()) {
      rows.emplace_back();
      for (const auto& field : fields) rows.back().push_back(AnsiToUtf8(t.Text(field)));
    }
    return rows;
  }

  TempDir dir_;
  XmlDocument document_;
  MainFormTables tables_;
  std::optional<Conversion> conversion_;
  std::string saved_;
};

// One element with the given attributes: {"abrev", "MAT"}, ...
inline std::string Element(const std::string& name,
                           const std::vector<std::pair<std::string, std::string>>& attributes) {
  std::string xml = "<" + name;
  for (const auto& [attribute, value] : attributes) xml += " " + attribute + "=\"" + value + "\"";
  return xml + "/>";
}

}  // namespace tv::test
