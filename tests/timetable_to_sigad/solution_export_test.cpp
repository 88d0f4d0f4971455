#include "solution_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <regex>

#include "scripted_ui.h"
#include "test_support.h"
#include "work_table.h"

namespace tv {
namespace {

using test::Ansi;
using test::ScriptedUi;

const char* kInstruction =
    "Deberá Abrir el fichero XML de SIGAD,\r\ndesde el cual realizó la Importación a Vormelan";

struct SolutionRow {
  std::string dia;
  double hora;
  std::string sesiones, grupo, asig, tarea, prof, aula;
};

class SolutionExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_ALL, nullptr);
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "es_ES.UTF-8"));
    std::filesystem::create_directory(tables_);
    Table("GRUPOST", {{"ABREV", FieldType::Character, 10}, {"IDGRUPO", FieldType::Character, 10}},
          {{"M1ESOA", "G1"}, {"m1esoa", "G2"}});
    Table("PROFT", {{"ABREV", FieldType::Character, 10}, {"IDPROF", FieldType::Character, 10}},
          {{"JGP", "P1"}, {"JGP", "P2"}});
    Table("AULAT", {{"ABREV", FieldType::Character, 10}, {"IDAULA", FieldType::Character, 20}},
          {{"Gimnasio", "A1"}});
    Table("ASIGNOMT", {{"COD", FieldType::Character, 10}, {"IDASIG", FieldType::Character, 10}},
          {{"MAT", "S1"}, {"LECT", "LECT"}, {"EF", "S2"}});
    Table("ASIGT", {{"CASIG", FieldType::Character, 10}}, {});
    test::WriteFile(sigad_,
                    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- SIGAD -->\n"
                    "<centro codigo_interno=\" 50001 \" nombre=\"  IES Pe\xF1"
                    "a &#945; \" curso=\"2026/2027\" "
                    "version=\"3.1\"><materias><dmaterias abrev=\"MAT\"/></materias></centro>\n");
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

  void Table(const std::string& name, const std::vector<FieldDef>& fields,
             const std::vector<std::vector<std::string>>& rows) {
    auto table = WorkTable::Create(tables_, name, fields);
    table->Open();
    for (const auto& row : rows) {
      table->Append();
      for (std::size_t i = 0; i < row.size(); ++i) table->SetText(static_cast<int>(i), row[i]);
      table->Post();
    }
  }
  // SOLUC as the timetabling product writes it: whole numbers for the day
  // and the period.
  void Solution(const std::vector<SolutionRow>& rows) {
    auto table = WorkTable::Create(tables_, "SOLUC",
                                   {{"DIA", FieldType::Integer},
                                    {"HORA", FieldType::Float},
                                    {"SESIONES", FieldType::Character, 20},
                                    {"CODGRUPO", FieldType::Character, 10},
                                    {"ASIG", FieldType::Character, 10},
                                    {"TAREA", FieldType::Character, 10},
                                    {"PROF", FieldType::Character, 10},
                                    {"AULA", FieldType::Character, 10}});
    table->Open();
    for (const auto& r : rows) {
      table->Append();
      table->SetText("DIA", r.dia);
      table->SetFloat("HORA", r.hora);
      for (const auto& [field, value] : {std::pair{"SESIONES", r.sesiones},
                                         {"CODGRUPO", r.grupo},
                                         {"ASIG", r.asig},
                                         {"TAREA", r.tarea},
                                         {"PROF", r.prof},
                                         {"AULA", r.aula}}) {
        table->SetText(field, value);
      }
      table->Post();
    }
  }
  RunOutcome Run(std::optional<std::string> answer) {
    ui_.answers.push_back(std::move(answer));
    return RunSolutionExport(context_, ui_);
  }
  // The saved result without its export moment.
  std::string Result() {
    const std::string saved = test::ReadFile(dir_ / "ResultadoVormoscentro.xml");
    return std::regex_replace(saved, std::regex(" fecha_exportacion=\"[^\"]*\""),
                              " fecha_exportacion=\"*\"");
  }

  test::TempDir dir_;
  std::filesystem::path tables_ = dir_ / "VTEMP";
  std::filesystem::path sigad_ = dir_ / "centro.xml";
  ProgramState program_;
  RunContext context_{program_, tables_};
  ScriptedUi ui_;
  std::string saved_;
};

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- SIGAD -->\n"
    "<centro codigo_interno=\"50001\" nombre=\"IES Pe\xF1"
    "a ?\" curso=\"2026/2027\" fecha_exportacion=\"*\" "
    "version=\"3.1\">";

TEST_F(SolutionExportTest, RowsBecomeSolutionRecords) {
  Solution({{"1", 2, "11", "M1ESOA", "MAT", "LECT", "JGP", "Gimnasio"},
            {"5", 6, "1", "NADA", "EF", "TAREA1", "nadie", "otra"}});
  const std::string before = test::ReadFile(sigad_);
  EXPECT_EQ(Run(sigad_.string()), RunOutcome::Completed);
  EXPECT_EQ(ui_.shown, (std::vector<std::string>{kInstruction, "Proceso finalizado"}));
  EXPECT_EQ(program_.resultCode, 1);
  EXPECT_FALSE(ui_.waiting);
  EXPECT_EQ(
      Result(),
      kHead +
          "<solucion_horario>"
          "<dsolucion casig=\"S1\" cgrupo=\"G1\" cprofe=\"P1\" caula=\"A1\" cactiv=\"LECT\" "
          "dia=\"1\" "
          "hora=\"2\" sesiones=\"11\" idcurso=\"\"/>"
          "<dsolucion casig=\"S2\" cgrupo=\"\" cprofe=\"\" caula=\"\" cactiv=\"TAREA1\" dia=\"5\" "
          "hora=\"6\" sesiones=\"1\" idcurso=\"\"/>"
          "</solucion_horario></centro>\n");
  EXPECT_EQ(test::ReadFile(sigad_), before) << "the picked file is never changed";
}

TEST_F(SolutionExportTest, ControlCharactersStillGiveWellFormedXml) {
  // Found by fuzzing: a control character in a SOLUC text made the result
  // a file that no XML reader accepts.
  Solution({{"1", 1,
             "1\x01"
             "1",
             "M1ESOA", "MAT", "\x1F", "JGP", ""}});
  ASSERT_EQ(Run(sigad_.string()), RunOutcome::Completed);
  EXPECT_NE(Result().find("cactiv=\"?\" dia=\"1\" hora=\"1\" sesiones=\"1?1\""), std::string::npos)
      << Result();
  XmlDocument result;
  EXPECT_TRUE(result.load(dir_ / "ResultadoVormoscentro.xml"));
}

TEST_F(SolutionExportTest, RowsWithoutDayPeriodOrKnownSubjectArePassedOver) {
  Solution({{"0", 1, "", "M1ESOA", "MAT", "", "", ""},
            {"1", 0, "", "M1ESOA", "MAT", "", "", ""},
            {"1", 1, "", "M1ESOA", "mat", "", "", ""},
            {"1", 1, "", "M1ESOA", "NOEXISTE", "", "", ""},
            {"", 1, "", "M1ESOA", "MAT", "", "", ""}});
  ASSERT_EQ(Run(sigad_.string()), RunOutcome::Completed);
  EXPECT_EQ(Result(), kHead + "<solucion_horario/></centro>\n");
}

TEST_F(SolutionExportTest, FloatingPeriodsAndCaseKeepTheirText) {
  Solution({{"2", 2.5, "", "m1esoa", "MAT", "", "", ""}});
  ASSERT_EQ(Run(sigad_.string()), RunOutcome::Completed);
  EXPECT_NE(
      Result().find(
          "<dsolucion casig=\"S1\" cgrupo=\"G2\" cprofe=\"\" caula=\"\" cactiv=\"\" dia=\"2\" "
          "hora=\"2,5\" sesiones=\"\" idcurso=\"\"/>"),
      std::string::npos)
      << Result();
}

TEST_F(SolutionExportTest, MissingInputShowsOneMessage) {
  EXPECT_EQ(Run(std::nullopt), RunOutcome::InputMissing);
  EXPECT_EQ(ui_.shown,
            (std::vector<std::string>{kInstruction, "No existe archivo XML o Solución."}));
  EXPECT_EQ(program_.resultCode, 0);
  EXPECT_EQ(Run(sigad_.string()), RunOutcome::InputMissing) << "no SOLUC";
  program_.hostedMode = true;
  EXPECT_EQ(Run(std::nullopt), RunOutcome::InputMissing)
      << "the remembered file, still without SOLUC";
  EXPECT_EQ(program_.resultCode, -1);
  EXPECT_EQ(ui_.closes, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "ResultadoVormoscentro.xml"));
}

TEST_F(SolutionExportTest, FilesThatAreNotSigadStopBeforeAnyTableOpens) {
  Solution({{"1", 1, "", "", "MAT", "", "", ""}});
  WorkTable held(tables_, "SOLUC", Access::Exclusive);  // opening it would fail otherwise
  held.Open();
  test::WriteFile(sigad_, "<centro>");
  EXPECT_THROW_MSG(Run(sigad_.string()),
                   "El archivo '" + sigad_.string() + "' no es un documento XML válido");
  test::WriteFile(sigad_, "<colegio/>");
  EXPECT_THROW_MSG(Run(std::nullopt),
                   "El archivo '" + sigad_.string() +
                       "' no es un archivo XML de SIGAD: le falta el elemento 'centro'");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "ResultadoVormoscentro.xml"));
  EXPECT_FALSE(ui_.waiting);
}

TEST_F(SolutionExportTest, MissingRootAttributesAreEmpty) {
  Solution({});
  test::WriteFile(sigad_, "<centro nombre=\"X\"/>");
  ASSERT_EQ(Run(sigad_.string()), RunOutcome::Completed);
  EXPECT_EQ(
      Result(),
      "<centro codigo_interno=\"\" nombre=\"X\" curso=\"\" fecha_exportacion=\"*\" version=\"\">"
      "<solucion_horario/></centro>\n");
}

TEST_F(SolutionExportTest, ErrorsLeaveNoResultAndNoTableOpen) {
  const std::string result = (dir_ / "ResultadoVormoscentro.xml").string();
  auto expectNoResult = [&] {
    EXPECT_FALSE(std::filesystem::exists(result));
    EXPECT_FALSE(ui_.waiting);
    WorkTable solution(tables_, "SOLUC", Access::Exclusive);
    solution.Open();  // closed again by the failed run
  };
  // SOLUC from a program that keeps day and period as texts.
  const std::vector<FieldDef> kTextSolution = {
      {"DIA", FieldType::Character, 2},      {"HORA", FieldType::Character, 3},
      {"SESIONES", FieldType::Character, 2}, {"CODGRUPO", FieldType::Character, 2},
      {"ASIG", FieldType::Character, 4},     {"TAREA", FieldType::Character, 2},
      {"PROF", FieldType::Character, 2},     {"AULA", FieldType::Character, 2}};
  // A field missing, a bad day or a bad period end the run.
  Table("SOLUC", {{"DIA", FieldType::Character, 2}, {"HORA", FieldType::Character, 3}},
        {{"1", "1"}, {"x", "1"}});
  EXPECT_THROW_MSG(Run(sigad_.string()), "wwTableSoluc: No se encuentra el campo 'SESIONES'");
  expectNoResult();
  Table("SOLUC", kTextSolution, {{"1", "1,5", "", "", "MAT"}, {"x", "1"}});
  EXPECT_THROW_MSG(Run(std::nullopt), "'x' no es un valor entero válido");
  expectNoResult();
  Table("SOLUC", kTextSolution, {{"1", "1.5", "", "", "MAT"}});
  EXPECT_THROW_MSG(Run(std::nullopt), "'1.5' no es un valor punto flotante válido");
  expectNoResult();
  // A lookup table missing, or held by another program.
  Solution({{"1", 1, "", "", "MAT", "", "", ""}});
  std::filesystem::rename(tables_ / "ASIGT.DBF", dir_ / "ASIGT.DBF");
  EXPECT_THROW_MSG(Run(std::nullopt),
                   "No existe la tabla '" + (tables_ / "ASIGT.DBF").string() + "'");
  expectNoResult();
  std::filesystem::rename(dir_ / "ASIGT.DBF", tables_ / "ASIGT.DBF");
  {
    WorkTable held(tables_, "PROFT", Access::Shared);
    held.Open();
    EXPECT_THROW_MSG(Run(std::nullopt),
                     "La tabla '" + (tables_ / "PROFT.DBF").string() +
                         "' está en uso por otro programa; ciérrelo y vuelva a intentarlo");
  }
  expectNoResult();
  // A later run in the same window works like the first.
  EXPECT_EQ(Run(std::nullopt), RunOutcome::Completed);
  EXPECT_EQ(Run(std::nullopt), RunOutcome::Completed);
  EXPECT_TRUE(std::filesystem::exists(result));
}

TEST_F(SolutionExportTest, ResultIsReplacedWholeOrNotAtAll) {
  Solution({{"1", 1, "", "", "MAT", "", "", ""}});
  test::WriteFile(dir_ / "ResultadoVormoscentro.xml", "anterior");
  ASSERT_EQ(Run(sigad_.string()), RunOutcome::Completed);
  EXPECT_NE(Result().find("casig=\"S1\""), std::string::npos);
  if (::geteuid() != 0) {
    ::chmod(dir_.path().c_str(), 0555);
    EXPECT_THROW(Run(std::nullopt), Error);
    ::chmod(dir_.path().c_str(), 0755);
    EXPECT_NE(Result().find("casig=\"S1\""), std::string::npos) << "the earlier result stays whole";
  }
  EXPECT_EQ(ResultFile("/datos/centro.xml"),
            std::filesystem::path("/datos/ResultadoVormoscentro.xml"));
}

TEST(ExportTimestampTest, RegionalFormatsOrTheSpanishDefault) {
  const std::string saved = std::setlocale(LC_TIME, nullptr);
  const char* timezone = std::getenv("TZ");
  const std::string keep = timezone ? timezone : "";
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  const std::time_t moment = 1765184707;  // 8 December 2025, 9:05:07 UTC
  std::setlocale(LC_TIME, "C");
  EXPECT_EQ(ExportTimestamp(moment), "08/12/2025 9:05:07");
  ASSERT_TRUE(std::setlocale(LC_TIME, "es_ES.UTF-8"));
  EXPECT_EQ(ExportTimestamp(moment), "08/12/25 09:05:07");
  std::setlocale(LC_TIME, saved.c_str());
  if (timezone) {
    ::setenv("TZ", keep.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

}  // namespace
}  // namespace tv
