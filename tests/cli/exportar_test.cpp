#include <gtest/gtest.h>

#include "test_support.h"
#include "work_table.h"

namespace tv {
namespace {

using test::Transvormos;

class ExportarCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(tables_); }
  test::TempDir dir_;
  std::filesystem::path tables_ = dir_ / "VTEMP";
};

TEST_F(ExportarCommandTest, ConvertsTheSampleSchoolExactly) {
  int status = -1;
  const std::string sample = (test::DataDir() / ".." / ".." / "samples" / "centro.xml").string();
  EXPECT_EQ(Transvormos("exportar " + sample + " --workdir " + tables_.string() + " 2>&1", &status),
            "Proceso finalizado\n");
  EXPECT_EQ(status, 0);
  for (const char* table : {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT"}) {
    EXPECT_EQ(
        Transvormos("dump --csv " + (tables_ / (std::string(table) + ".DBF")).string(), &status),
        test::ReadFile(test::DataDir() / "golden" / (std::string(table) + ".csv")))
        << table;
  }
}

TEST_F(ExportarCommandTest, MissingFileAndErrorsHaveTheirOwnExitCodes) {
  int status = -1;
  EXPECT_EQ(Transvormos("exportar " + (dir_ / "nada.xml").string() + " --workdir " +
                            tables_.string() + " 2>/dev/null",
                        &status),
            "No existe archivo\n");
  EXPECT_EQ(status, 2);
  EXPECT_TRUE(std::filesystem::is_empty(tables_));

  test::WriteFile(
      dir_ / "horas.xml",
      "<centro><asignaturas><dasignatura casig=\"1\" nhoras=\"cuatro\"/></asignaturas></centro>");
  EXPECT_EQ(Transvormos("exportar " + (dir_ / "horas.xml").string() + " --workdir " +
                            tables_.string() + " 2>&1",
                        &status),
            "'cuatro' no es un valor punto flotante válido.\n");
  EXPECT_EQ(status, 1);

  const auto missing = dir_ / "NOEXISTE";
  EXPECT_EQ(Transvormos("exportar " + (dir_ / "horas.xml").string() + " --workdir " +
                            missing.string() + " 2>&1",
                        &status),
            "No se puede crear la tabla '" + (missing / "ASIGNOMT.DBF").string() +
                "': No existe el archivo o el directorio.\n");
  EXPECT_EQ(status, 1);
}

TEST_F(ExportarCommandTest, UsesTheWinePrefixWithoutWorkdir) {
  std::filesystem::create_directories(dir_ / "wine" / "drive_c" / "VTEMP");
  test::WriteFile(dir_ / "c.xml", "<centro/>");
  int status = -1;
  EXPECT_EQ(
      test::Run("WINEPREFIX=" + (dir_ / "wine").string() + " " + std::getenv("TRANSVORMOS_BIN") +
                    "/transvormos exportar " + (dir_ / "c.xml").string(),
                &status),
      "Proceso finalizado\n");
  EXPECT_TRUE(std::filesystem::exists(dir_ / "wine" / "drive_c" / "VTEMP" / "ASIGT.DBF"));
}

}  // namespace
}  // namespace tv
