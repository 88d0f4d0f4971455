#include <gtest/gtest.h>

#include "test_support.h"

namespace tv {
namespace {

using test::Transvormos;

TEST(ImportarCommandTest, ExportsTheSampleTimetable) {
  test::TempDir dir;
  const auto samples = test::DataDir() / ".." / ".." / "samples";
  std::filesystem::copy_file(samples / "centro.xml", dir / "centro.xml");
  const std::string tables = (dir / "VTEMP").string();
  std::filesystem::create_directory(tables);
  int status = -1;
  EXPECT_EQ(
      Transvormos("importar " + (dir / "centro.xml").string() + " --workdir " + tables + " 2>&1",
                  &status),
      "No existe archivo XML o Solución.\n");
  EXPECT_EQ(status, 2);

  Transvormos("exportar " + (dir / "centro.xml").string() + " --workdir " + tables, &status);
  std::filesystem::copy_file(samples / "SOLUC.DBF", dir / "VTEMP" / "SOLUC.DBF");
  EXPECT_EQ(
      Transvormos("importar " + (dir / "centro.xml").string() + " --workdir " + tables + " 2>&1",
                  &status),
      "Proceso finalizado\n");
  EXPECT_EQ(status, 0);
  const std::string result = test::ReadFile(dir / "ResultadoVormoscentro.xml");
  EXPECT_EQ(result.substr(0, 44), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n");
  // Every session of the timetable but the rows without a day, a period or a
  // known subject.
  std::size_t records = 0;
  for (auto at = result.find("<dsolucion "); at != std::string::npos;
       at = result.find("<dsolucion ", at + 1))
    ++records;
  EXPECT_EQ(records, 331u);
  EXPECT_NE(result.find("cgrupo=\"\" cprofe=\"\" caula=\"\""), std::string::npos)
      << "codes that match nothing";
  EXPECT_NE(result.find("cactiv=\"LECT\""), std::string::npos);

  std::filesystem::remove(dir / "VTEMP" / "ASIGT.DBF");
  EXPECT_EQ(
      Transvormos("importar " + (dir / "centro.xml").string() + " --workdir " + tables + " 2>&1",
                  &status),
      "No existe la tabla '" + (dir / "VTEMP" / "ASIGT.DBF").string() + "'\n");
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace tv
