#include "conversion_fixture.h"

namespace tv {
namespace {

using test::Element;
using test::Rows;

std::string Group(const std::string& nombre, const std::string& nivel,
                  const std::string& tutor = "", const std::string& turno = "M",
                  const std::string& curso = "1") {
  return Element("dgrupo", {{"nombre", nombre},
                            {"codigo_nivel", nivel},
                            {"turno", turno},
                            {"curso", curso},
                            {"codigo_tutor", tutor},
                            {"codigo", "4001"}});
}

class ConvertGruposTest : public test::ConversionTest {
 protected:
  void SetUp() override {
    ConversionTest::SetUp();
    // Teachers first: the tutors are looked up in PROFT.
    teachers_ = Element("profesor", {{"abrev", "JGP"}, {"codigo", "P1"}}) +
                Element("profesor", {{"abrev", "SIN"}, {"codigo", ""}}) +
                Element("profesor", {{"abrev", "OTRO"}, {"codigo", "P1"}});
  }
  Rows Convert(const std::string& groups, const std::vector<std::string>& fields) {
    Load("<profesores>" + teachers_ + "</profesores><grupos>" + groups + "</grupos>");
    ConvertProfesores(conversion());
    ConvertGrupos(conversion());
    EXPECT_TRUE(conversion().tables.wwTableProfesor().Active()) << "left open for the assignments";
    conversion().tables.CloseAll();
    return Read("GRUPOST", fields);
  }
  std::string teachers_;
};

TEST_F(ConvertGruposTest, AbbreviationJoinsShiftYearLevelAndLetter) {
  EXPECT_EQ(Convert(Group(" 1º ESO A ", "ESO", "P1"),
                    {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO", "DESCRIP", "TUTOR", "IDGRUPO"}),
            (Rows{{"M1ESOA", "M", "ESO", "1", "A", "1º ESO A", "JGP", "4001"}}));
  EXPECT_EQ(Convert(Group("1º A", "ESOPRIMERO") + Group("", "ESO"),
                    {"ABREV", "NIVEL", "GRUPO", "DESCRIP"}),
            (Rows{{"M1ESOPRIOA", "ESOPR", "A", "1º A"}, {"M1ESO", "ESO", "", ""}}));
}

TEST_F(ConvertGruposTest, RepeatsAreNumberedAndShortened) {
  std::string groups;
  for (int i = 0; i < 3; ++i) groups += Group("1 ESO A", "ESO");
  groups += Group("1 eso a", "eso", "", "m");
  for (int i = 0; i < 11; ++i)
    groups += Group("A", "BACHI", "", "T", "12");  // T12BACHIA: 9 characters
  const Rows rows = Convert(groups, {"ABREV"});
  EXPECT_EQ(Rows(rows.begin(), rows.begin() + 4),
            (Rows{{"M1ESOA"}, {"M1ESOA1"}, {"M1ESOA2"}, {"m1esoa3"}}));
  EXPECT_EQ(rows[5], std::vector<std::string>{"T12BACHIA1"});
  EXPECT_EQ(rows[14], std::vector<std::string>{"T12BACHI10"});
}

TEST_F(ConvertGruposTest, TutorsAreFoundByExactIdOnly) {
  EXPECT_EQ(Convert(Group("A", "ESO", "P1") + Group("B", "ESO", "p1") + Group("C", "ESO", "") +
                        Group("D", "ESO", "NADIE"),
                    {"TUTOR"}),
            (Rows{{"JGP"}, {""}, {""}, {""}}))
      << "the first teacher with the id; no match by case; an empty id matches no blank IDPROF";
}

TEST_F(ConvertGruposTest, OneGroupIsKept) {
  EXPECT_EQ(Convert(Group("A", "ESO"), {"ABREV"}), Rows{{"M1ESOA"}});
}

}  // namespace
}  // namespace tv
