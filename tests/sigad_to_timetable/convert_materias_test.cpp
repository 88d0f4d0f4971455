#include "conversion_fixture.h"

namespace tv {
namespace {

using test::Element;
using test::Rows;

class ConvertMateriasTest : public test::ConversionTest {
 protected:
  std::string Subject(const std::string& abrev, const std::string& nombre,
                      const std::string& actividad, const std::string& codigo = "1") {
    return Element("dmaterias", {{"abrev", abrev},
                                 {"nombre", nombre},
                                 {"codigo_actividad", actividad},
                                 {"denivel", "ESO"},
                                 {"decurso", "1º"},
                                 {"codigo", codigo}});
  }
  Rows Codes() { return Read("ASIGNOMT", {"COD"}); }
};

const std::vector<std::string> kFixedRow = {
    "LECT", "LECTIVA", "Materia Lectiva de Docencia Directa", "", "", "LECT", "True", "LECT"};
const std::vector<std::string> kAllFields = {"COD",     "CODLARGO", "NOMBRE",  "DENIVEL",
                                             "DECURSO", "CODTAREA", "ESTAREA", "IDASIG"};

TEST_F(ConvertMateriasTest, WithoutSubjectsOnlyTheFixedRow) {
  for (const std::string sections : {"", "<materias/>", "<materias><otra/></materias>"}) {
    Load(sections);
    ConvertMaterias(conversion());
    EXPECT_EQ(Read("ASIGNOMT", kAllFields), Rows{kFixedRow}) << sections;
  }
}

TEST_F(ConvertMateriasTest, OneSubjectThenTheFixedRow) {
  Load("<materias>" +
       Element("dmaterias", {{"abrev", " MAT "},
                             {"nombre", "  Matemáticas  "},
                             {"codigo_actividad", " 123 "},
                             {"denivel", " ESO "},
                             {"decurso", "1º ESO"},
                             {"codigo", " 1001 "}}) +
       "</materias>");
  ConvertMaterias(conversion());
  EXPECT_EQ(
      Read("ASIGNOMT", kAllFields),
      (Rows{{"MAT", "Matemática", "Matemáticas", "ESO", "1º", "123", "False", "1001"}, kFixedRow}));
  EXPECT_FALSE(conversion().subjectCodes) << "the code list is released at the end";
}

TEST_F(ConvertMateriasTest, CodesComeFromAbbreviationOrInitials) {
  struct Case {
    std::string abrev, nombre, code, shortName;
  };
  const Case cases[] = {
      {"", "Lengua Castellana y Literatura", "LCyL", "Lengua Cas"},
      {"Ed. Física", "Educación Física", "Ed.Física",
       "Educación"},  // its last blank is a fill blank
      {"MATEMATICAS", "Matemáticas", "MATEMATICA", "Matemática"},
      {"", "Taller de Teatro", "TdT", "Taller de"},
      {"", "Ed.  Física", "EF", "Ed.  Físic"},
  };
  for (const auto& c : cases) {
    Load("<materias>" + Subject(c.abrev, c.nombre, "123") + "</materias>");
    ConvertMaterias(conversion());
    const Rows rows = Read("ASIGNOMT", {"COD", "CODLARGO"});
    EXPECT_EQ(rows[0], (std::vector<std::string>{c.code, c.shortName})) << c.nombre;
  }
}

TEST_F(ConvertMateriasTest, SubjectsWhoseCodeIsTheirActivityArePassedOver) {
  Load("<materias>" + Subject("MAT", "Matemáticas", "MAT") + Subject("", "Cualquiera", "") +
       Subject("", "", "9") + Subject("", "", "9") + Subject("", "", "9") + "</materias>");
  ConvertMaterias(conversion());
  EXPECT_EQ(Codes(), (Rows{{""}, {"1"}, {"2"}, {"LECT"}}));
}

TEST_F(ConvertMateriasTest, RepeatedCodesAreNumbered) {
  std::string subjects;
  for (const char* abrev : {"MAT", "MAT", "MAT", "MAT1", "mat", "LECT"})
    subjects += Subject(abrev, "x", "123");
  for (int i = 0; i < 12; ++i) subjects += Subject("MATEMATICA", "x", "123");
  Load("<materias>" + subjects + "</materias>");
  ConvertMaterias(conversion());
  EXPECT_EQ(Codes(), (Rows{{"MAT"},
                           {"MAT1"},
                           {"MAT2"},
                           {"MAT11"},
                           {"mat"},
                           {"LECT"},
                           {"MATEMATICA"},
                           {"MATEMATIC1"},
                           {"MATEMATIC2"},
                           {"MATEMATIC3"},
                           {"MATEMATIC4"},
                           {"MATEMATIC5"},
                           {"MATEMATIC6"},
                           {"MATEMATIC7"},
                           {"MATEMATIC8"},
                           {"MATEMATIC9"},
                           {"MATEMATI10"},
                           {"MATEMATI11"},
                           {"LECT"}}));
}

TEST_F(ConvertMateriasTest, LongValuesAreCutAndMissingAttributesAreEmpty) {
  const std::string longName(90, 'n');
  Load("<materias><dmaterias abrev=\"X\" nombre=\"" + longName +
       "\"/><dmaterias nombre=\"Sin código\"/></materias>");
  ConvertMaterias(conversion());
  EXPECT_EQ(Read("ASIGNOMT", {"COD", "NOMBRE", "CODTAREA", "IDASIG"}),
            (Rows{{"X", std::string(80, 'n'), "", ""}, {"LECT", kFixedRow[2], "LECT", "LECT"}}));
}

}  // namespace
}  // namespace tv
