// ChmFile on a help file compiled by chmcmd, and on files that are missing,
// not CHM files at all, or truncated copies of one.
#include "chm_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "help_book.h"
#include "sample_help.h"
#include "test_support.h"

namespace tv::help {
namespace {

using test::SharedSampleHelp;

TEST(ChmFile, ReadsObjectsWholeByPathInAnyLetterCase) {
  const std::optional<ChmFile> chm = ChmFile::Open(SharedSampleHelp());
  ASSERT_TRUE(chm);
  EXPECT_EQ(chm->Read("/tablas.htm"), std::string(test::kSampleTablasPage));
  EXPECT_EQ(chm->Read("/TABLAS.HTM"), std::string(test::kSampleTablasPage));
  EXPECT_EQ(chm->Read("/img/logo.png"), std::string(test::kSampleLogo));
  EXPECT_FALSE(chm->Read("/nada.htm"));
  EXPECT_FALSE(chm->Read("tablas.htm")) << "paths inside the archive are absolute";
  EXPECT_TRUE(chm->Contains("/sub/detalle.htm"));
  EXPECT_FALSE(chm->Contains("/sub/")) << "a folder is not a page";
  EXPECT_FALSE(chm->Read("/sub/"));

  const std::vector<std::string> paths = chm->ObjectPaths();
  for (const char* expected : {"/inicio.htm", "/tablas.htm", "/sub/detalle.htm", "/estilo.css",
                               "/img/logo.png", "/toc.hhc", "/index.hhk"}) {
    EXPECT_NE(std::find(paths.begin(), paths.end(), expected), paths.end()) << expected;
  }
  for (const std::string& path : paths) {
    EXPECT_FALSE(path.rfind("/#", 0) == 0 || path.rfind("/$", 0) == 0 || path.back() == '/')
        << path;
  }
}

TEST(ChmFile, ReadsSystemRecordsAsStored) {
  const std::optional<ChmFile> chm = ChmFile::Open(SharedSampleHelp());
  ASSERT_TRUE(chm);
  EXPECT_EQ(chm->SystemText(kContentsFile), "toc.hhc");
  EXPECT_EQ(chm->SystemText(kIndexFile), "index.hhk");
  EXPECT_EQ(chm->SystemText(kDefaultTopic), "inicio.htm");
  EXPECT_EQ(chm->SystemText(kTitle), "Ayuda de exportaci\xf3n")
      << "the project's windows-1252 bytes";
  EXPECT_FALSE(chm->SystemText(999));
}

TEST(ChmFile, ContextAliasesAreChmcmdBuildPaths) {
  const std::optional<ChmFile> chm = ChmFile::Open(SharedSampleHelp());
  ASSERT_TRUE(chm);
  const std::string folder = SharedSampleHelp().parent_path().string();
  EXPECT_EQ(chm->ContextAlias(3), folder + "/tablas.htm");
  EXPECT_EQ(chm->ContextAlias(7), folder + "/sub/detalle.htm");
  EXPECT_FALSE(chm->ContextAlias(2));
  EXPECT_FALSE(chm->ContextAlias(0));
}

// Whatever the damage, nothing crashes and nothing is shown half. A file
// cut short does not open at all; in a garbled one, a page either reads
// whole and right, or not at all.
TEST(ChmFile, DamagedFilesFailCleanly) {
  const test::TempDir folder;
  const std::string whole = test::ReadFile(SharedSampleHelp());
  ASSERT_GT(whole.size(), 4000u);
  struct Case {
    std::string name;
    std::string bytes;
  };
  std::vector<Case> cases = {{"empty.chm", ""},
                             {"text.chm", "Esto no es un archivo de ayuda.\n"},
                             {"itsf_only.chm", whole.substr(0, 4)},
                             {"header.chm", whole.substr(0, 96)}};
  for (const std::size_t length : {std::size_t{200}, std::size_t{600}, std::size_t{2000},
                                   whole.size() / 2, whole.size() - 1000, whole.size() - 1}) {
    cases.push_back({"cut_" + std::to_string(length) + ".chm", whole.substr(0, length)});
  }
  std::string garbled = whole;
  for (std::size_t at = 100; at < garbled.size(); at += 97)
    garbled[at] = static_cast<char>(~garbled[at]);
  cases.push_back({"garbled.chm", garbled});

  for (const Case& damaged : cases) {
    SCOPED_TRACE(damaged.name);
    test::WriteFile(folder / damaged.name, damaged.bytes);
    const std::optional<ChmFile> chm = ChmFile::Open(folder / damaged.name);
    if (damaged.name != "garbled.chm") {
      EXPECT_FALSE(chm);
    }
    if (chm) {
      const std::optional<std::string> page = chm->Read("/tablas.htm");
      if (page) {
        EXPECT_EQ(*page, std::string(test::kSampleTablasPage));
      }
      chm->ObjectPaths();
      chm->SystemText(kTitle);
      chm->ContextAlias(3);
    }
    const std::shared_ptr<const HelpBook> book = HelpBook::Open(folder / damaged.name);
    if (book) book->ContextTopic(3);
  }
  EXPECT_FALSE(ChmFile::Open(folder / "missing.chm"));
  EXPECT_FALSE(ChmFile::Open(folder.path())) << "a folder";
  EXPECT_FALSE(HelpBook::Open(folder / "missing.chm"));
}

}  // namespace
}  // namespace tv::help
