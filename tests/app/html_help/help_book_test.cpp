// HelpBook on the sample help file: how HTML Help's ways of naming a page
// (a topic, a context number, a keyword) become pages of the file.
#include "help_book.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "sample_help.h"
#include "test_support.h"

namespace tv::help {
namespace {

std::shared_ptr<const HelpBook> SampleBook() {
  static const std::shared_ptr<const HelpBook> book = HelpBook::Open(test::SharedSampleHelp());
  return book;
}

TEST(ChmHelpBook, TitleAndDefaultTopic) {
  const auto book = SampleBook();
  ASSERT_TRUE(book);
  EXPECT_EQ(book->title(), "Ayuda de exportaci\u00f3n");
  EXPECT_EQ(book->default_topic(), (TopicLink{"/inicio.htm", ""}));
}

TEST(ChmHelpBook, WithoutDefaultTopicTheFirstPageOfTheContents) {
  const test::TempDir folder;
  const auto chm = test::BuildSampleHelp(folder.path(), {.default_topic = false});
  const auto book = HelpBook::Open(chm);
  ASSERT_TRUE(book);
  ASSERT_FALSE(book->file().SystemText(kDefaultTopic));
  EXPECT_EQ(book->default_topic(), (TopicLink{"/inicio.htm", ""}));
}

TEST(ChmHelpBook, ContextNumbersThroughBuildPaths) {
  const auto book = SampleBook();
  ASSERT_TRUE(book);
  const struct {
    std::uint32_t context;
    std::optional<TopicLink> topic;
  } cases[] = {
      {1, TopicLink{"/inicio.htm", ""}},
      {3, TopicLink{"/tablas.htm", ""}},
      {7, TopicLink{"/sub/detalle.htm", ""}},  // a tail with its folder, not just the base name
      {0, std::nullopt},
      {2, std::nullopt},
      {0xFFFFFFFF, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(book->ContextTopic(c.context), c.topic) << "context " << c.context;
  }
}

TEST(ChmHelpBook, ContentsTreeNestedWithAccents) {
  const auto book = SampleBook();
  ASSERT_TRUE(book);
  const auto& contents = book->contents();
  ASSERT_EQ(contents.size(), 2u) << "the properties object is no entry";
  EXPECT_EQ(contents[0].name, "Inicio");
  EXPECT_EQ(contents[0].local, "/inicio.htm");
  EXPECT_EQ(contents[1].name, "Exportaci\u00f3n");
  EXPECT_EQ(contents[1].local, "");
  ASSERT_EQ(contents[1].children.size(), 2u);
  EXPECT_EQ(contents[1].children[0].name, "Tablas y \u00e1reas");
  EXPECT_EQ(contents[1].children[0].local, "/tablas.htm");
  EXPECT_EQ(contents[1].children[1].name, "Detalle");
  EXPECT_EQ(contents[1].children[1].local, "/sub/detalle.htm#final");
  EXPECT_EQ(book->EntryTopic(contents[1].children[1]), (TopicLink{"/sub/detalle.htm", "final"}));
  EXPECT_FALSE(book->EntryTopic(contents[1]));
}

TEST(ChmHelpBook, IndexKeywordsAndTopics) {
  const auto book = SampleBook();
  ASSERT_TRUE(book);
  ASSERT_EQ(book->index().size(), 3u);
  EXPECT_EQ(book->index()[0].children.at(0).name, "Detalle de la exportaci\u00f3n");
  const struct {
    const char* asked;
    std::optional<std::string> page;
  } cases[] = {
      {"exportar", "/tablas.htm"},
      {"EXP", "/tablas.htm"},                 // the first entry in document order
      {"detalle", "/sub/detalle.htm"},        // a sub-keyword
      {"  Inicio ", "/inicio.htm"},           // trimmed
      {"\u00edndice", "/inicio.htm"},         // UTF-8, other letter case
      {"\xcdNDICE DE P\xc1", "/inicio.htm"},  // the program's windows-1252
      {"zzz", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<TopicLink> topic = book->KeywordTopic(c.asked);
    EXPECT_EQ(topic ? std::optional<std::string>(topic->path) : std::nullopt, c.page) << c.asked;
  }
  EXPECT_EQ(book->Topic("/sub/detalle.htm#final"), (TopicLink{"/sub/detalle.htm", "final"}));
  EXPECT_EQ(book->Topic("tablas.htm"), (TopicLink{"/tablas.htm", ""}));
  EXPECT_FALSE(book->Topic("/nada.htm"));
}

}  // namespace
}  // namespace tv::help
