#include <gtest/gtest.h>

#include "test_support.h"
#include "work_table.h"

namespace tv {
namespace {

std::string Transvormos(const std::string& arguments, int* status) {
  const char* bin = std::getenv("TRANSVORMOS_BIN");
  return test::Run(std::string(bin ? bin : ".") + "/transvormos " + arguments + " 2>&1", status);
}

class DumpCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto t = WorkTable::Create(
        dir_.path(), "PROFT",
        {{"ABREV", FieldType::Character, 10}, {"NOMBRE", FieldType::Character, 40}});
    t->Open();
    for (const auto& [abrev, nombre] :
         {std::pair{"JGP", "Ana, Ruiz Peña"}, std::pair{"XY", "\"Comillas\", y coma "}}) {
      t->Append();
      t->SetText("ABREV", abrev);
      t->SetText("NOMBRE", test::Ansi(nombre));
      t->Post();
    }
  }
  test::TempDir dir_;
};

TEST_F(DumpCommandTest, PrintsAlignedColumnsInUtf8) {
  int status = -1;
  const std::string out = Transvormos((dir_ / "PROFT.DBF").string(), &status);
  EXPECT_EQ(status, 106) << "a command word is required";
  EXPECT_EQ(Transvormos("dump " + (dir_ / "PROFT.DBF").string(), &status),
            "Tabla " + (dir_ / "PROFT.DBF").string() +
                ": 2 filas, página de códigos 1252\nCampos: ABREV C(10) NOMBRE C(40)\n\n"
                "ABREV NOMBRE\n"
                "----- ------------------\n"
                "JGP   Ana, Ruiz Peña\n"
                "XY    \"Comillas\", y coma\n");
  EXPECT_EQ(status, 0);
}

TEST_F(DumpCommandTest, PrintsCsv) {
  int status = -1;
  EXPECT_EQ(Transvormos("dump --csv " + (dir_ / "proft.dbf").string(), &status),
            "ABREV,NOMBRE\nJGP,\"Ana, Ruiz Peña\"\nXY,\"\"\"Comillas\"\", y coma\"\n");
  EXPECT_EQ(status, 0);
}

TEST_F(DumpCommandTest, ReportsUnreadableTablesInSpanish) {
  int status = -1;
  EXPECT_EQ(Transvormos("dump " + (dir_ / "NADA.DBF").string(), &status),
            "No existe la tabla '" + (dir_ / "NADA.DBF").string() + "'\n");
  EXPECT_EQ(status, 1);
  WorkTable held(dir_.path(), "PROFT", Access::Exclusive);
  held.Open();
  EXPECT_EQ(Transvormos("dump " + (dir_ / "PROFT.DBF").string(), &status),
            "La tabla '" + (dir_ / "PROFT.DBF").string() +
                "' está en uso por otro programa; ciérrelo y vuelva a intentarlo.\n");
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace tv
