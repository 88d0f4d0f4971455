#include "conversion_fixture.h"

namespace tv {
namespace {

using test::Element;
using test::Rows;

std::string Teacher(const std::string& abrev, const std::string& codigo = "1") {
  return Element("profesor", {{"abrev", abrev},
                              {"nombre", "Ana"},
                              {"apellido1", "Ruiz"},
                              {"apellido2", "Sanz"},
                              {"departamen", "Lengua"},
                              {"documento", "1X"},
                              {"codigo", codigo}});
}

class ConvertProfesoresTest : public test::ConversionTest {};

TEST_F(ConvertProfesoresTest, SectionsWithNoneOrOneTeacher) {
  Load("");
  ConvertProfesores(conversion());
  EXPECT_TRUE(Read("PROFT", {"ABREV"}).empty());
  Load("<profesores>" + Teacher("JGP") + "</profesores>");
  ConvertProfesores(conversion());
  EXPECT_EQ(Read("PROFT", {"ABREV"}), Rows{{"JGP"}}) << "a school's only teacher is kept";
}

TEST_F(ConvertProfesoresTest, RowsCarryTheComposedName) {
  Load("<profesores>" +
       Element("profesor", {{"abrev", " JGP "},
                            {"nombre", " Ana "},
                            {"apellido1", "Ruiz"},
                            {"apellido2", " Sanz "},
                            {"departamen", "Lengua  Castellana"},
                            {"documento", "12345678Z"},
                            {"codigo", "2001"}}) +
       Element("profesor",
               {{"abrev", "B"}, {"nombre", "Ana"}, {"apellido1", "Ruiz"}, {"apellido2", ""}}) +
       Element("profesor", {{"abrev", "C"}}) + "</profesores>");
  ConvertProfesores(conversion());
  EXPECT_EQ(Read("PROFT", {"ABREV", "NOMBRE", "DEPART", "DNI", "IDPROF"}),
            (Rows{{"JGP", "Ana, Ruiz Sanz", "Lengua  Castellana", "12345678Z", "2001"},
                  {"B", "Ana, Ruiz", "", "", ""},  // the trailing space is a fill blank once stored
                  {"C", ",", "", "", ""}}));
}

TEST_F(ConvertProfesoresTest, RepeatedAbbreviationsAreNumberedWithoutRegardToCase) {
  std::string teachers;
  for (const char* abrev :
       {"JGP", "JGP", "JGP", "jgp", "JGP1", "", "", "", "ABCDEFGHIJKL", "ABCDEFGHIJKL"}) {
    teachers += Teacher(abrev);
  }
  for (int i = 0; i < 11; ++i) teachers += Teacher("PROFESORAB");
  Load("<profesores>" + teachers + "</profesores>");
  ConvertProfesores(conversion());
  EXPECT_EQ(Read("PROFT", {"ABREV"}),
            (Rows{{"JGP"},        {"JGP1"},       {"JGP2"},       {"jgp3"},       {"JGP11"},
                  {""},           {"1"},          {"2"},          {"ABCDEFGHIJ"}, {"ABCDEFGHI1"},
                  {"PROFESORAB"}, {"PROFESORA1"}, {"PROFESORA2"}, {"PROFESORA3"}, {"PROFESORA4"},
                  {"PROFESORA5"}, {"PROFESORA6"}, {"PROFESORA7"}, {"PROFESORA8"}, {"PROFESORA9"},
                  {"PROFESOR10"}}));
}

}  // namespace
}  // namespace tv
