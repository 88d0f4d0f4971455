#include "code_list.h"

#include <gtest/gtest.h>

#include <set>

#include "test_support.h"

namespace tv {
namespace {

// Gives out `codes` one after the other as the subjects and teachers
// converters do: a held code is numbered on a 9-character base.
std::vector<std::string> GiveOut(CodeList& list, const std::vector<std::string>& codes,
                                 std::size_t base = 9) {
  std::vector<std::string> given;
  for (std::string code : codes) {
    if (list.Holds(code)) code = list.Numbered(code, base);
    list.Add(code);
    given.push_back(code);
  }
  return given;
}

TEST(CodeListTest, RepeatsAreNumberedOnTheirBase) {
  CodeList subjects(CodeList::Letters::CaseSensitive);
  EXPECT_EQ(GiveOut(subjects, {"MAT", "MAT", "MAT", "MAT1", "mat", ""}),
            (std::vector<std::string>{"MAT", "MAT1", "MAT2", "MAT11", "mat", ""}));
  EXPECT_EQ(GiveOut(subjects, {"", ""}), (std::vector<std::string>{"1", "2"}));

  CodeList teachers(CodeList::Letters::CaseInsensitive);
  EXPECT_EQ(
      GiveOut(teachers, {"JGP", "JGP", "JGP", "jgp", "JGP1", test::Ansi("ÓRN"), test::Ansi("órn")}),
      (std::vector<std::string>{"JGP", "JGP1", "JGP2", "jgp3", "JGP11", test::Ansi("ÓRN"),
                                test::Ansi("órn1")}));
}

TEST(CodeListTest, LongCandidatesAreShortenedAndStayUnique) {
  CodeList subjects(CodeList::Letters::CaseSensitive);
  const auto given = GiveOut(subjects, std::vector<std::string>(13, "MATEMATICA"));
  EXPECT_EQ(given[0], "MATEMATICA");
  EXPECT_EQ(given[1], "MATEMATIC1");
  EXPECT_EQ(given[9], "MATEMATIC9");
  EXPECT_EQ(given[10], "MATEMATI10");  // the eleventh, as 8 + 2 characters
  EXPECT_EQ(given[11], "MATEMATI11");  // checked again, so no repeat
  EXPECT_EQ(given[12], "MATEMATI12");

  // Past a hundred, the 8 + 2 form repeats itself: the base gives way to the
  // whole number.
  CodeList many(CodeList::Letters::CaseSensitive);
  const auto codes = GiveOut(many, std::vector<std::string>(250, "ABCDEFGHIJ"));
  EXPECT_EQ(std::set<std::string>(codes.begin(), codes.end()).size(), codes.size());
  EXPECT_EQ(codes[100], "ABCDEFGH00");  // base and 100, its last two characters kept
  EXPECT_EQ(codes[101], "ABCDEFG100");  // that code taken: the whole number kept
  EXPECT_EQ(codes[102], "ABCDEFGH01");
  for (const auto& code : codes) EXPECT_LE(code.size(), 10u) << code;
}

TEST(CodeListTest, EightCharacterBaseForRooms) {
  CodeList rooms(CodeList::Letters::CaseInsensitive);
  std::vector<std::string> given;
  for (int i = 0; i < 102; ++i) {
    std::string code = "Laborato";
    code = rooms.Holds(ShortenedCode(code)) ? rooms.Numbered(code, 8) : ShortenedCode(code);
    rooms.Add(code);
    given.push_back(code);
  }
  EXPECT_EQ(given[1], "Laborato1");
  EXPECT_EQ(given[99], "Laborato99");
  EXPECT_EQ(given[100], "Laborato00");  // the hundredth repeat: the base and '100', cut to 8 + 2
  EXPECT_EQ(given[101], "Laborat100");
}

TEST(CodeListTest, ManyRepeatsOfOneCodeStayCheap) {
  // 20,000 repeats would take hundreds of millions of lookups if numbering
  // started from 1 each time; this must finish at once.
  CodeList teachers(CodeList::Letters::CaseInsensitive);
  const auto codes = GiveOut(teachers, std::vector<std::string>(20000, "JGP"));
  EXPECT_EQ(codes[19999], "JGP19999");
  CodeList subjects(CodeList::Letters::CaseSensitive);
  const auto long_codes = GiveOut(subjects, std::vector<std::string>(20000, "MATEMATICA"));
  EXPECT_EQ(std::set<std::string>(long_codes.begin(), long_codes.end()).size(), 20000u);
}

TEST(CodeListTest, FoldCaseCoversWindowsLetters) {
  EXPECT_EQ(FoldCase(test::Ansi("ÁÉÍÓÚÑÜ ŠŒŽŸ ×ß")), test::Ansi("áéíóúñü šœžÿ ×ß"));
}

}  // namespace
}  // namespace tv
