// Tables written here must open in dBase readers that others wrote, and
// tables those programs write must read right here.
#include <gtest/gtest.h>

#include <clocale>

#include "test_support.h"
#include "work_table.h"

namespace tv {
namespace {

using test::Ansi;

const std::string kTools = TRANSVORMOS_OUTSIDE_TOOLS;

class OutsideReadersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "es_ES.UTF-8"));
  }
  void TearDown() override { std::setlocale(LC_NUMERIC, saved_.c_str()); }

  // The table OUT written by this engine.
  std::filesystem::path WriteOurs() {
    auto t = WorkTable::Create(dir_.path(), "OUT",
                               {{"COD", FieldType::Character, 10},
                                {"NOMBRE", FieldType::Character, 30},
                                {"MAXALUM", FieldType::Integer},
                                {"ESTAREA", FieldType::Logical},
                                {"HORAS", FieldType::Float}});
    t->Open();
    auto row = [&](const char* cod, std::string nombre, const char* max, bool tarea, double horas) {
      t->Append();
      t->SetText("COD", cod);
      t->SetText("NOMBRE", Ansi(nombre));
      t->SetText("MAXALUM", max);
      t->SetLogical("ESTAREA", tarea);
      t->SetFloat("HORAS", horas);
      t->Post();
    };
    row("MAT", "Matemáticas Ñ €", "25", true, 2.5);
    row("LEN", "  Lengua", "", false, static_cast<float>(0.1));
    row("X", "", "-2147483648", true, -2);
    return dir_ / "OUT.DBF";
  }
  std::string Tool(const std::string& command) {
    int status = 0;
    std::string output = test::Run(command + " 2>&1", &status);
    EXPECT_EQ(status, 0) << command << "\n" << output;
    return output;
  }

  test::TempDir dir_;
  std::string saved_;
};

TEST_F(OutsideReadersTest, PythonDbfreadReadsOurTables) {
  const auto file = WriteOurs();
  EXPECT_EQ(Tool("/usr/bin/python3 " + kTools + "/read_dbfread.py " + file.string()),
            "COD='MAT'|NOMBRE='Matemáticas Ñ €'|MAXALUM=25|ESTAREA=True|HORAS=2.5\n"
            "COD='LEN'|NOMBRE='  Lengua'|MAXALUM=None|ESTAREA=False|HORAS=0.10000000149011612\n"
            "COD='X'|NOMBRE=''|MAXALUM=-2147483648|ESTAREA=True|HORAS=-2\n");
}

TEST_F(OutsideReadersTest, GdalReadsOurTables) {
  const auto file = WriteOurs();
  const std::string out = Tool("ogrinfo -ro -al -q " + file.string());
  for (const char* line :
       {"COD (String) = MAT", "NOMBRE (String) = Matemáticas Ñ €", "MAXALUM (Integer64) = 25",
        "ESTAREA (String) = T", "HORAS (Real) = 2.5000", "MAXALUM (Integer64) = (null)",
        "HORAS (Real) = 0.1000", "MAXALUM (Integer64) = -2147483648", "HORAS (Real) = -2.0000"}) {
    EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
  }
  EXPECT_EQ(
      Tool("ogrinfo -ro -so -al " + file.string()).find("Feature Count: 3") == std::string::npos,
      false);
}

TEST_F(OutsideReadersTest, PgdbfReadsOurTables) {
  const auto file = WriteOurs();
  const std::string out = Tool("pgdbf -s cp1252 " + file.string());
  EXPECT_NE(out.find("CREATE TABLE out (cod VARCHAR(10), nombre VARCHAR(30), maxalum NUMERIC(11), "
                     "estarea BOOLEAN, "
                     "horas NUMERIC(20, 4));"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("MAT\tMatemáticas Ñ €\t25\tt\t2.5\n"
                     "LEN\t  Lengua\t\\N\tf\t0.10000000149011612\n"
                     "X\t\t-2147483648\tt\t-2\n\\."),
            std::string::npos)
      << out;
}

TEST_F(OutsideReadersTest, TablesWrittenByPythonDbfReadRight) {
  Tool("/usr/bin/python3 " + kTools + "/write_python_dbf.py " + dir_.path().string());
  WorkTable ansi(dir_.path(), "DB3_1252", Access::Shared);
  ansi.Open();
  EXPECT_EQ(ansi.Text("NOMBRE"), Ansi("Peña Ñ €"));
  EXPECT_EQ(ansi.Integer("DIA"), 1);
  EXPECT_EQ(ansi.Text("HORA"), "2,5");
  EXPECT_EQ(ansi.Text("OK"), "True");
  EXPECT_EQ(ansi.Text("F"), "10/12/2026");
  ansi.Next();
  EXPECT_TRUE(ansi.Eof()) << "the deleted row is passed over";

  WorkTable dos(dir_.path(), "DB3_850", Access::Shared);
  dos.Open();
  EXPECT_EQ(dos.CodePage(), 850);
  EXPECT_EQ(dos.Text("NOMBRE"), Ansi("Año ñ"));
  EXPECT_EQ(dos.Integer("DIA"), -12);

  WorkTable fox(dir_.path(), "VFP", Access::Shared);
  fox.Open();
  EXPECT_EQ(fox.Text("NOMBRE"), Ansi("Pérez"));
  EXPECT_EQ(fox.Integer("N"), -5);
  EXPECT_EQ(fox.Float("B"), 2.5);
  EXPECT_EQ(fox.Text("T"), "10/12/2026 09:05:07");
}

TEST_F(OutsideReadersTest, TablesWrittenByOgr2ogrReadRight) {
  test::WriteFile(dir_ / "in.csv", "NOMBRE,DIA,HORA\nPeña,1,2.5\nÁlvaro,-3,0.125\n");
  Tool("cd " + dir_.path().string() +
       " && ogr2ogr -f 'ESRI Shapefile' SOLUC.DBF in.csv -oo AUTODETECT_TYPE=YES -lco "
       "ENCODING=CP1252");
  WorkTable table(dir_.path(), "SOLUC", Access::Exclusive);
  table.Open();
  EXPECT_EQ(table.Text("NOMBRE"), Ansi("Peña"));
  EXPECT_EQ(table.Integer("DIA"), 1);
  EXPECT_EQ(table.Float("HORA"), 2.5);
  table.Next();
  EXPECT_EQ(table.Text("NOMBRE"), Ansi("Álvaro"));
  EXPECT_EQ(table.Text("DIA"), "-3");
  EXPECT_EQ(table.Text("HORA"), "0,125");
}

}  // namespace
}  // namespace tv
