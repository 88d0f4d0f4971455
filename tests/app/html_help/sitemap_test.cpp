// ParseSitemap on the sloppy HTML that real .hhc and .hhk files are made of,
// and FindKeyword on the result.
#include "sitemap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tv::help {
namespace {

// "name=local" per entry, children in brackets: "A=a.htm[B=b.htm]; C".
std::string Render(const std::vector<SitemapEntry>& entries) {
  std::string out;
  for (const SitemapEntry& entry : entries) {
    if (!out.empty()) out += "; ";
    out += entry.name;
    if (!entry.local.empty()) out += "=" + entry.local;
    if (!entry.children.empty()) out += "[" + Render(entry.children) + "]";
  }
  return out;
}

std::string Item(const std::string& params) {
  return "<LI><OBJECT type=\"text/sitemap\">" + params + "</OBJECT>\n";
}

std::string Param(const std::string& name, const std::string& value) {
  return "<param name=\"" + name + "\" value=\"" + value + "\">";
}

TEST(ChmSitemap, ParsesWhatHelpToolsAndHandsWrite) {
  const std::string a = Item(Param("Name", "A") + Param("Local", "a.htm"));
  const std::string b = Item(Param("Name", "B") + Param("Local", "b.htm"));
  const std::string c = Item(Param("Name", "C") + Param("Local", "c.htm"));
  const struct {
    const char* what;
    std::string sitemap;
    std::string expected;
  } cases[] = {
      {"flat", "<UL>" + a + b + "</UL>", "A=a.htm; B=b.htm"},
      {"nested", "<UL>" + a + "<UL>" + b + "<UL>" + c + "</UL></UL>" + a + "</UL>",
       "A=a.htm[B=b.htm[C=c.htm]]; A=a.htm"},
      {"no outer list", a + b, "A=a.htm; B=b.htm"},
      {"lists never closed", "<UL>" + a + "<UL>" + b, "A=a.htm[B=b.htm]"},
      {"stray closing lists", "</UL></UL>" + a + "</UL>" + b, "A=a.htm; B=b.htm"},
      {"lower case, no LI, no closing OBJECT",
       "<ul><object type='text/sitemap'><param name='name' value='A'><param name='local' "
       "value='a.htm'>"
       "<object type=text/sitemap><param name=Name value=B><param name=Local value=b.htm></ul>",
       "A=a.htm; B=b.htm"},
      {"params in any order, attributes too",
       "<UL><LI><OBJECT type=\"text/sitemap\"><param value=\"a.htm\" name=\"Local\">"
       "<PARAM VALUE=\"A\" NAME=\"NAME\"></OBJECT></UL>",
       "A=a.htm"},
      {"first name and first local count",
       "<UL>" +
           Item(Param("Name", "Clave") + Param("Name", "Tema") + Param("Local", "a.htm") +
                Param("Local", "b.htm")) +
           "</UL>",
       "Clave=a.htm"},
      {"heading without a page", "<UL>" + Item(Param("Name", "Libro")) + "<UL>" + a + "</UL></UL>",
       "Libro[A=a.htm]"},
      {"page without a name", "<UL>" + Item(Param("Local", "a.htm")) + "</UL>", "=a.htm"},
      {"other objects, comments and empty entries skipped",
       "<!-- <UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"X\"></OBJECT> -->"
       "<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"Propiedades\"></OBJECT>"
       "<UL>" +
           Item("") + a + "</UL>",
       "A=a.htm"},
      {"quotes hiding '>'",
       "<UL>" + Item(Param("Name", "a > b") + Param("Local", "a.htm")) + "</UL>", "a > b=a.htm"},
      {"file cut inside a quote",
       "<UL>" + a + "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B",
       "A=a.htm; B"},
      {"names over lines, spaces collapsed",
       "<UL>" + Item(Param("Name", "\n  Tablas\r\n   de  horario ") + Param("Local", " a.htm ")) +
           "</UL>",
       "Tablas de horario=a.htm"},
      {"character references",
       "<UL>" +
           Item(Param("Name", "Exportaci&oacute;n &amp; &#237;ndice &#xC1;rea &eacute") +
                Param("Local", "a.htm?x=1&amp;y=2")) +
           "</UL>",
       "Exportaci\u00f3n & \u00edndice \u00c1rea &eacute=a.htm?x=1&y=2"},
      {"windows-1252 bytes",
       "<UL>" + Item(Param("Name", "\xc1reas y a\xf1os \x80") + Param("Local", "a.htm")) + "</UL>",
       "\u00c1reas y a\u00f1os \u20ac=a.htm"},
      {"UTF-8 stays UTF-8",
       "<UL>" + Item(Param("Name", "\u00c1reas y a\u00f1os") + Param("Local", "a.htm")) + "</UL>",
       "\u00c1reas y a\u00f1os=a.htm"},
      {"nothing readable", "no es HTML <<< >>> <", ""},
      {"empty", "", ""},
  };
  for (const auto& test_case : cases) {
    EXPECT_EQ(Render(ParseSitemap(test_case.sitemap)), test_case.expected) << test_case.what;
  }
}

TEST(ChmSitemap, FindsTheFirstKeywordThatStartsWithTheText) {
  const std::vector<SitemapEntry> index =
      ParseSitemap("<UL>" + Item(Param("Name", "Alumnos") + Param("Local", "alumnos.htm")) +
                   Item(Param("Name", "Exportar")) + "<UL>" +
                   Item(Param("Name", "Exportar tablas") + Param("Local", "tablas.htm")) +
                   Item(Param("Name", "Exportar horarios") + Param("Local", "horarios.htm")) +
                   "</UL>" + Item(Param("Name", "\xc1rea") + Param("Local", "area.htm")) +
                   Item(Param("Name", "Profesores") + Param("Local", "profesores.htm")) + "</UL>");
  const struct {
    const char* asked;
    const char* page;  // nullptr: not found
  } cases[] = {
      {"alumnos", "alumnos.htm"},
      {"A", "alumnos.htm"},
      {"exportar", "tablas.htm"},  // a keyword without a page: its first sub-keyword's
      {"exportar h", "horarios.htm"},
      {"\u00e1rea", "area.htm"},
      {"\u00c1REA", "area.htm"},
      {"\xe1rea", "area.htm"},  // windows-1252 from the program
      {" PROF ", "profesores.htm"},
      {"Profesores y m\u00e1s", nullptr},
      {"x", nullptr},
      {"", nullptr},
      {"   ", nullptr},
  };
  for (const auto& c : cases) {
    const SitemapEntry* found = FindKeyword(index, c.asked);
    if (c.page == nullptr) {
      EXPECT_EQ(found, nullptr) << c.asked;
    } else {
      ASSERT_NE(found, nullptr) << c.asked;
      EXPECT_EQ(found->local, c.page) << c.asked;
    }
  }
  EXPECT_EQ(FirstTopic(index)->local, "alumnos.htm");
  EXPECT_EQ(FirstTopic({}), nullptr);
}

}  // namespace
}  // namespace tv::help
