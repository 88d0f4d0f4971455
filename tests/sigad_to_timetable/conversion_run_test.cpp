#include <gtest/gtest.h>

#include "conversion.h"
#include "scripted_ui.h"
#include "test_support.h"

namespace tv {
namespace {

using test::ScriptedUi;

class ConversionRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(dir_ / "centro.xml",
                    "<centro><materias><dmaterias abrev=\"MAT\" codigo=\"S1\" "
                    "codigo_actividad=\"1\"/></materias>"
                    "<profesores><profesor abrev=\"JGP\" codigo=\"P1\"/></profesores>"
                    "<aulas><daula nombre=\"Gimnasio\" capacidad_alumnos=\"60\"/></aulas>"
                    "<grupos><dgrupo nombre=\"1 ESO A\" turno=\"M\" curso=\"1\" "
                    "codigo_nivel=\"ESO\" codigo=\"G1\" "
                    "codigo_tutor=\"P1\"/></grupos>"
                    "<asignaturas><dasignatura cgrupo=\"G1\" casig=\"S1\" cprofe=\"P1\" "
                    "nhoras=\"3\"/></asignaturas>"
                    "</centro>");
    std::filesystem::create_directory(tables_);
  }
  RunOutcome Run(std::optional<std::string> answer) {
    ui_.answers.push_back(std::move(answer));
    return RunConversion(context_, ui_);
  }
  std::size_t Rows(const std::string& table) {
    WorkTable t(tables_, table, Access::Exclusive);
    t.Open();
    std::size_t rows = 0;
    for (t.First(); !t.Eof(); t.Next()) ++rows;
    return rows;
  }

  test::TempDir dir_;
  std::filesystem::path tables_ = dir_ / "VTEMP";
  ProgramState program_;
  RunContext context_{program_, tables_};
  ScriptedUi ui_;
};

TEST_F(ConversionRunTest, CancelledFirstDialogFindsNoFile) {
  EXPECT_EQ(Run(std::nullopt), RunOutcome::InputMissing);
  EXPECT_EQ(ui_.shown, std::vector<std::string>{"No existe archivo"});
  EXPECT_EQ(program_.resultCode, 0);
  EXPECT_EQ(ui_.closes, 0);
  EXPECT_TRUE(std::filesystem::is_empty(tables_));

  program_.hostedMode = true;
  EXPECT_EQ(Run((dir_ / "nada.xml").string()), RunOutcome::InputMissing);
  EXPECT_EQ(program_.resultCode, -1);
  EXPECT_EQ(ui_.closes, 1);
  EXPECT_EQ(Run(dir_.path().string()), RunOutcome::InputMissing) << "a folder is no file";
}

TEST_F(ConversionRunTest, CompletedRunRebuildsTheFiveTables) {
  EXPECT_EQ(Run((dir_ / "centro.xml").string()), RunOutcome::Completed);
  EXPECT_EQ(ui_.shown, std::vector<std::string>{"Proceso finalizado"});
  EXPECT_EQ(program_.resultCode, 1);
  EXPECT_FALSE(ui_.waiting);
  EXPECT_EQ(ui_.closes, 0) << "stand-alone, the window stays open";
  const std::pair<const char*, std::size_t> expected[] = {
      {"ASIGNOMT", 2}, {"PROFT", 1}, {"AULAT", 1}, {"GRUPOST", 1}, {"ASIGT", 1}};
  for (const auto& [table, rows] : expected) EXPECT_EQ(Rows(table), rows) << table;

  // A second run in the same window, the dialog cancelled, converts the same
  // file again and gives the same tables.
  EXPECT_EQ(Run(std::nullopt), RunOutcome::Completed);
  for (const auto& [table, rows] : expected) EXPECT_EQ(Rows(table), rows) << table;
  program_.hostedMode = true;
  EXPECT_EQ(Run(std::nullopt), RunOutcome::Completed);
  EXPECT_EQ(ui_.closes, 1);
}

TEST_F(ConversionRunTest, FileThatIsNotXmlGivesEmptyTables) {
  test::WriteFile(dir_ / "roto.xml", "<centro><materias>");
  EXPECT_EQ(Run((dir_ / "roto.xml").string()), RunOutcome::Completed);
  EXPECT_EQ(Rows("ASIGNOMT"), 1u) << "the fixed row alone";
  for (const char* table : {"PROFT", "AULAT", "GRUPOST", "ASIGT"})
    EXPECT_EQ(Rows(table), 0u) << table;
  EXPECT_EQ(program_.resultCode, 1);
}

TEST_F(ConversionRunTest, ErrorEndsTheRunAndLeavesEarlierTablesAndLaterOnes) {
  ASSERT_EQ(Run((dir_ / "centro.xml").string()), RunOutcome::Completed);
  program_.resultCode = 0;
  program_.hostedMode = true;
  // The fourth converter meets a bad file: the group table is in use elsewhere.
  WorkTable held(tables_, "GRUPOST", Access::Exclusive);
  held.Open();
  test::WriteFile(
      dir_ / "otro.xml",
      "<centro><profesores><profesor abrev=\"A\"/><profesor abrev=\"B\"/></profesores></centro>");
  EXPECT_THROW(Run((dir_ / "otro.xml").string()), Error);
  held.Close();
  EXPECT_EQ(ui_.shown.back(), "Proceso finalizado") << "from the first run only";
  EXPECT_EQ(program_.resultCode, 0);
  EXPECT_EQ(ui_.closes, 0) << "the window stays open";
  EXPECT_FALSE(ui_.waiting) << "the normal cursor is back";
  EXPECT_EQ(Rows("ASIGNOMT"), 1u);
  EXPECT_EQ(Rows("PROFT"), 2u);
  EXPECT_EQ(Rows("AULAT"), 0u);
  EXPECT_EQ(Rows("GRUPOST"), 1u) << "the table held by another program stays as it was";
  EXPECT_EQ(Rows("ASIGT"), 1u) << "the later table is not touched";
  // Every table object of the run is closed: PROFT opens exclusively.
  WorkTable teachers(tables_, "PROFT", Access::Exclusive);
  teachers.Open();
}

}  // namespace
}  // namespace tv
