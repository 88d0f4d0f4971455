#include "conversion_fixture.h"

namespace tv {
namespace {

using test::Element;
using test::Rows;

std::string Room(const std::string& nombre, const std::string& capacidad = "30") {
  return Element("daula",
                 {{"nombre", nombre}, {"capacidad_alumnos", capacidad}, {"codigo", "3001"}});
}

class ConvertAulasTest : public test::ConversionTest {
 protected:
  Rows Abbreviations(const std::vector<std::string>& names) {
    std::string rooms;
    for (const auto& name : names) rooms += Room(name);
    Load("<aulas>" + rooms + "</aulas>");
    ConvertAulas(conversion());
    return Read("AULAT", {"ABREV"});
  }
};

TEST_F(ConvertAulasTest, AbbreviationsComeFromTheName) {
  EXPECT_EQ(
      Abbreviations({"Aula de Dibujo", "Sala de Usos Multiples", "Gimnasio", "Laboratorio",
                     "Aula 12", "Aula  Norte", "a b c d e f g h i j k l"}),
      (Rows{{"AdD"}, {"SdUM"}, {"Gimnasio"}, {"Laborato"}, {"Aula 12"}, {"A N"}, {"abcdefghkl"}}));
}

TEST_F(ConvertAulasTest, RepeatsAreNumberedOnAnEightCharacterBase) {
  EXPECT_EQ(Abbreviations({"Laboratorio 1", "Laboratorio 2", "Aula de Dibujo", "Aula de Dibujo",
                           "aula de dibujo", "", "", ""}),
            (Rows{{"Laborato"}, {"Laborato1"}, {"AdD"}, {"AdD1"}, {"add2"}, {""}, {"1"}, {"2"}}));
}

TEST_F(ConvertAulasTest, OneRoomIsKeptAndCapacityIsAWholeNumber) {
  Load("<aulas>" + Room("Gimnasio", " 25 ") + "</aulas>");
  ConvertAulas(conversion());
  EXPECT_EQ(Read("AULAT", {"ABREV", "NOMBRE", "EDIFICIO", "MAXALUM", "IDAULA"}),
            (Rows{{"Gimnasio", "Gimnasio", "", "25", "3001"}}));
  Load("<aulas>" + Room("A", "") + Room("B", "25 alumnos") + "</aulas>");
  EXPECT_THROW_MSG(ConvertAulas(conversion()),
                   "'25 alumnos' no es un valor entero válido para el campo 'MAXALUM'");
  EXPECT_EQ(Read("AULAT", {"ABREV", "MAXALUM"}), (Rows{{"A", ""}}))
      << "rows posted before the error stay";
}

}  // namespace
}  // namespace tv
