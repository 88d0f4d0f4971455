#include "code_page.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tv {
namespace {

TEST(CodePageTest, Utf8AndAnsiRoundTripSpanishText) {
  const std::string utf8 = "Peña, Cía. «Ñandú» 1º 2ª €";
  const std::string ansi = Utf8ToAnsi(utf8);
  EXPECT_EQ(ansi,
            "Pe\xF1"
            "a, C\xED"
            "a. \xAB\xD1"
            "and\xFA\xBB 1\xBA 2\xAA \x80");
  EXPECT_EQ(AnsiToUtf8(ansi), utf8);
}

TEST(CodePageTest, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
  EXPECT_EQ(Utf8ToAnsi("α 中 ✓ ő 😀"), "? ? ? ? ?");
  // Malformed UTF-8 cannot come from the XML parser, but is still safe.
  EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82"), "??");
}

TEST(CodePageTest, UndefinedWindowsBytesKeepTheirNumber) {
  EXPECT_EQ(AnsiToUtf8("\x81"), "\xC2\x81");
  EXPECT_EQ(Utf8ToAnsi("\xC2\x81"), "\x81");
}

TEST(CodePageTest, RecoderConvertsBetweenDosAndWindows) {
  const Recoder toAnsi(CodePage::Get(850), CodePage::Ansi());
  const Recoder toDos(CodePage::Ansi(), CodePage::Get(850));
  EXPECT_EQ(toAnsi("\xA4"), "\xF1");  // ñ
  EXPECT_EQ(toDos("\xF1"), "\xA4");
  EXPECT_EQ(toDos("\x80"), "?");  // the euro sign is not in code page 850
  EXPECT_TRUE(Recoder(CodePage::Ansi(), CodePage::Ansi()).identity());
  EXPECT_THROW_MSG(CodePage::Get(99999), "La página de códigos 99999 no está disponible");
}

}  // namespace
}  // namespace tv
