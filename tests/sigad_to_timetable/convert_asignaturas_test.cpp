#include "conversion_fixture.h"

namespace tv {
namespace {

using test::Element;
using test::Rows;

std::string Assignment(const std::string& grupo, const std::string& asig, const std::string& profe,
                       const std::string& horas) {
  return Element("dasignatura",
                 {{"cgrupo", grupo}, {"casig", asig}, {"cprofe", profe}, {"nhoras", horas}});
}

class ConvertAsignaturasTest : public test::ConversionTest {
 protected:
  // Runs the converters that ASIGT depends on, then ConvertAsignaturas.
  Rows Convert(const std::string& assignments, const std::vector<std::string>& fields) {
    Load("<materias>" +
         Element("dmaterias", {{"abrev", "MAT"},
                               {"nombre", "Matemáticas"},
                               {"codigo_actividad", "LD"},
                               {"codigo", "S1"}}) +
         Element("dmaterias",
                 {{"abrev", "LONG"}, {"codigo_actividad", "LD"}, {"codigo", "ABCDEFGHIJKL"}}) +
         "</materias><profesores>" + Element("profesor", {{"abrev", "JGP"}, {"codigo", "P1"}}) +
         "</profesores><grupos>" +
         Element("dgrupo", {{"nombre", "1 ESO A"},
                            {"codigo_nivel", "ESO"},
                            {"turno", "M"},
                            {"curso", "1"},
                            {"codigo", "G1"}}) +
         "</grupos><asignaturas>" + assignments + "</asignaturas>");
    ConvertMaterias(conversion());
    ConvertProfesores(conversion());
    ConvertGrupos(conversion());
    ConvertAsignaturas(conversion());
    return Read("ASIGT", fields);
  }
};

TEST_F(ConvertAsignaturasTest, IdsBecomeTheCodesOfTheRun) {
  EXPECT_EQ(
      Convert(Assignment(" G1 ", " S1 ", " P1 ", " 4 "),
              {"CASIG", "CPROF", "CGRUP", "CAULA", "TURNO", "NIVEL", "CURSO", "GRUPO", "HORAS",
               "SESIONES", "CTAREA", "NCONEX", "IDCURSO", "IDGRUP", "IDASIG", "IDPROF"}),
      (Rows{{"MAT", "JGP", "M1ESOA", "", "M", "ESO", "1", "A", "4", "1111", "LD", "", "", "G1",
             "S1", "P1"}}));
  for (auto* table :
       {&tables_.wwTableGrupos(), &tables_.wwTableNomAsg(), &tables_.wwTableProfesor()}) {
    EXPECT_FALSE(table->Active()) << "the lookup tables are closed at the end";
  }
}

TEST_F(ConvertAsignaturasTest, UnknownIdsLeaveFieldsEmptyOrDropTheRow) {
  EXPECT_EQ(
      Convert(Assignment("G1", "NADA", "P1", "1") + Assignment("g1", "S1", "p1", "2") +
                  Assignment("", "", "", "3") + Assignment("G1", "ABCDEFGHIJKL", "P1", "1") +
                  Assignment("NADA", "S1", "NADA", "1") + Assignment("NADA", "S1", "NADA", "1"),
              {"CASIG", "CPROF", "CGRUP", "TURNO", "NIVEL", "CURSO", "GRUPO", "IDGRUP", "IDASIG",
               "IDPROF"}),
      (Rows{{"MAT", "", "", "", "", "", "", "g1", "S1", "p1"},
            {"MAT", "", "", "", "", "", "", "NADA", "S1", "NADA"},
            {"MAT", "", "", "", "", "", "", "NADA", "S1", "NADA"}}));
}

TEST_F(ConvertAsignaturasTest, HoursGiveTheSessionsPattern) {
  const std::string ones13(13, '1');
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"0", {"1", "1"}},
      {"1", {"1", "1"}},
      {"3", {"3", "111"}},
      {"13", {"13", ones13}},
      {"14", {"14", "1" + ones13}},
      {"15", {"15", "2" + ones13}},
      {"22", {"22", "9" + ones13}},
      {"23", {"23", "10" + ones13}},
      {"-2", {"-2", ""}},
      {"+0003", {"3", "111"}},
      {"4,0", {"4", "1111"}},
      {"1E1", {"10", "1111111111"}},
      {"2,5", {"2,5", "11\xC2\xBD"}},  // whole hours, then the half marker
      {"0,5", {"0,5", "\xC2\xBD"}},
      {"-2,5", {"-2,5", "\xC2\xBD"}},
      {"1,3", {"1,29999995231628", "1\xC2\xBD"}},  // held in single precision
      {"16777217", {"16777216", "16777203" + ones13.substr(0, 12)}},
  };
  std::string assignments;
  for (const auto& [hours, expected] : cases) assignments += Assignment("G1", "S1", "P1", hours);
  const Rows rows = Convert(assignments, {"HORAS", "SESIONES"});
  ASSERT_EQ(rows.size(), std::size(cases));
  for (std::size_t i = 0; i < rows.size(); ++i)
    EXPECT_EQ(rows[i], cases[i].second) << cases[i].first;
}

TEST_F(ConvertAsignaturasTest, BadHoursEndTheRunEvenForAnUnknownSubject) {
  for (const std::string hours : {"", "2.5", "cuatro", "1E39"}) {
    EXPECT_THROW_MSG(
        Convert(Assignment("G1", "S1", "P1", "1") + Assignment("G1", "NADA", "P1", hours),
                {"CASIG"}),
        "'" + hours + "' no es un valor punto flotante válido");
    conversion().tables.CloseAll();
    EXPECT_EQ(Read("ASIGT", {"CASIG"}), Rows{{"MAT"}}) << "the rows posted before stay";
  }
}

TEST_F(ConvertAsignaturasTest, ManyAssignmentsKeepTheirOrderUpToABadOne) {
  // Many more assignments than are looked up ahead at once.
  const int count = 5000, bad = 4321;
  std::string assignments;
  Rows before;
  for (int i = 0; i < count; ++i) {
    const std::string hours = std::to_string(i % 13 + 1);
    assignments += Assignment(i % 2 ? "G1" : "NADA", i % 3 ? "S1" : "NADA", i % 5 ? "P1" : "",
                              i == bad ? "x" : hours);
    if (i < bad && i % 3) before.push_back({i % 2 ? "M1ESOA" : "", i % 5 ? "JGP" : "", hours});
  }
  EXPECT_THROW_MSG(Convert(assignments, {"CASIG"}), "'x' no es un valor punto flotante válido");
  conversion().tables.CloseAll();
  EXPECT_EQ(Read("ASIGT", {"CGRUP", "CPROF", "HORAS"}), before);
}

}  // namespace
}  // namespace tv
