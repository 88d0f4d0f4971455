// Pages and sitemaps of help files in whatever encoding they were written.
#include "text_decoding.h"

#include <gtest/gtest.h>

#include <string>

namespace tv::help {
namespace {

TEST(ChmTextDecoding, DecodesHtmlByItsDeclarationElseByItsBytes) {
  const struct {
    const char* what;
    std::string html;
    std::string expected;
  } cases[] = {
      {"undeclared windows-1252",
       "<p>\xe1rea \x93"
       "a\x94 \x80</p>",
       "<p>\u00e1rea \u201ca\u201d \u20ac</p>"},
      {"undeclared UTF-8", "<p>\u00e1rea</p>", "<p>\u00e1rea</p>"},
      {"UTF-8 byte-order mark", "\xef\xbb\xbf<p>\u00e1</p>", "<p>\u00e1</p>"},
      {"http-equiv windows-1252",
       "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Windows-1252\">\xf1",
       "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Windows-1252\">\u00f1"},
      {"meta charset iso-8859-1", "<meta charset='iso-8859-1'>\xf1",
       "<meta charset='iso-8859-1'>\u00f1"},
      {"declared UTF-8", "<meta charset=utf-8>\u00f1", "<meta charset=utf-8>\u00f1"},
      {"declared UTF-8 that is not", "<meta charset=utf-8>\xf1", "<meta charset=utf-8>\u00f1"},
      {"iso-8859-15 through iconv", "<meta charset=\"iso-8859-15\">\xa4",
       "<meta charset=\"iso-8859-15\">\u20ac"},
      {"unknown charset", "<meta charset=\"x-desconocido\">\xf1",
       "<meta charset=\"x-desconocido\">\u00f1"},
      {"undefined windows-1252 byte", "\x81", "\u0081"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeHtml(c.html), c.expected) << c.what;
  }
  EXPECT_EQ(DeclaredCharset("<html><head><meta name=\"x\" content=\"y\"></head>"), "");
  EXPECT_EQ(FoldCase("\u00c1RBOL \u00d1and\u00fa \u00d7"), "\u00e1rbol \u00f1and\u00fa \u00d7");
  EXPECT_FALSE(IsValidUtf8("\xc0\xaf"));      // an overlong '/'
  EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));  // a surrogate
}

}  // namespace
}  // namespace tv::help
