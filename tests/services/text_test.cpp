#include "text.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tv {
namespace {

using test::Ansi;

struct Case {
  std::string input;
  std::string expected;
};

TEST(TextTest, TrimmingRemovesOnlySpacesAtTheEnds) {
  const Case both[] = {{"", ""},
                       {"   ", ""},
                       {Ansi("  Física y Química  "), Ansi("Física y Química")},
                       {"\tA ", "\tA"},
                       {" a  b ", "a  b"},
                       {"\xA0x\xA0", "\xA0x\xA0"}};  // a non-breaking space is not a space
  for (const auto& c : both) EXPECT_EQ(TrimBoth(c.input), c.expected) << c.input;
  EXPECT_EQ(TrimLeading("  a b "), "a b ");
  EXPECT_EQ(TrimTrailing("  a b "), "  a b");
  EXPECT_EQ(TrimLeading("   "), "");
  EXPECT_EQ(TrimTrailing(""), "");
}

TEST(TextTest, LeftAndRightCharsTakeTheWholeTextWhenCountReachesItsLength) {
  struct CountCase {
    std::string text;
    std::int32_t count;
    std::string left, right;
  };
  const CountCase cases[] = {
      {"Aula 12", 3, "Aul", " 12"},
      {"Aula 12", 7, "Aula 12", "Aula 12"},
      {"Aula 12", 8, "Aula 12", "Aula 12"},
      {"Aula 12", 100, "Aula 12", "Aula 12"},
      {"Aula 12", 0, "", ""},
      {"Aula 12", -1, "", ""},
      {"", 5, "", ""},
      {"", -5, "", ""},
      {Ansi("1º ESO A"), 1, "1", "A"},
      {Ansi("1º ESO A"), 8, Ansi("1º ESO A"), Ansi("1º ESO A")},
      {"abc", INT32_MIN, "", ""},
      {"abc", INT32_MAX, "abc", "abc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeftChars(c.text, c.count), c.left) << c.text << " " << c.count;
    EXPECT_EQ(RightChars(c.text, c.count), c.right) << c.text << " " << c.count;
  }
}

TEST(TextTest, WordInitialsTakeTheCharacterAfterEachSpace) {
  const Case cases[] = {
      {"Lengua Castellana y Literatura", "CyL"},
      {"Historia", ""},
      {" Hola", "H"},
      {Ansi("Ed.  Física"), Ansi(" F")},  // two spaces: the first adds the second
      {"Taller ", ""},
      {"", ""},
      {"a b\tc", "b"},
  };
  for (const auto& c : cases) EXPECT_EQ(WordInitials(c.input), c.expected) << c.input;
}

TEST(TextTest, RemoveSpacesDeletesEverySpaceHoweverLongTheText) {
  EXPECT_EQ(RemoveSpaces(" C y L "), "CyL");
  EXPECT_EQ(RemoveSpaces(""), "");
  EXPECT_EQ(RemoveSpaces("    "), "");
  std::string text(300, 'x');
  for (const int at : {10, 256, 290}) text[at] = ' ';
  const std::string result = RemoveSpaces(text);
  EXPECT_EQ(result, std::string(297, 'x'));
}

}  // namespace
}  // namespace tv
