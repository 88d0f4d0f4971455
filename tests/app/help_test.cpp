#include <dlfcn.h>
#include <gtest/gtest.h>

#include "html_help_viewer.h"
#include "win_help_viewer.h"

namespace tv {
namespace {

const std::string kLibrary = TRANSVORMOS_RECORDING_HHCTRL;

// The calls the recording library received since the last look.
std::string Calls() {
  void* library = ::dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!library) return "(no library)";
  auto recorded = reinterpret_cast<const char* (*)()>(::dlsym(library, "RecordedHelpCalls"));
  std::string text = recorded();
  ::dlclose(library);
  return text;
}

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterHelpViewers(help_.system, kLibrary, [this] { return help_.helpFile; });
    help_.helpFile = "SIGAD.chm";
    Calls();
  }
  void TearDown() override { WithdrawHelpViewers(help_.system); }
  ApplicationHelp help_;
  const std::string beside_ = ProgramDirectory();
};

TEST(HtmlHelpViewerTest, CompiledHelpFilesEndInChm) {
  const std::pair<const char*, bool> cases[] = {{"SIGAD.chm", true},
                                                {"D:\\Ayuda\\SIGAD.CHM", true},
                                                {"manual", false},
                                                {"SIGAD.hlp", false},
                                                {"SIGAD.chm.bak", false},
                                                {".chm", true},
                                                {"", false},
                                                {"a.ChM", true}};
  for (const auto& [name, compiled] : cases) EXPECT_EQ(IsCompiledHelpFile(name), compiled) << name;
}

TEST(HtmlHelpViewerTest, SelectorAlwaysChoosesKelvorin) {
  HtmlHelpViewer viewer("/no/such/library.so", [] { return std::string(); });
  EXPECT_EQ(viewer.ViewerName(), "Kelvorin");
  EXPECT_EQ(viewer.KeywordEntries("Tablas"), std::vector<std::string>{"Kelvorin: Tablas"});
  EXPECT_EQ(WinHelpTester().LinkEntries("Tablas"), std::vector<std::string>{": Tablas"});
  const std::pair<std::vector<std::string>, int> keywordCases[] = {
      {{"Kelvorin: x", "Otro: x"}, 0},
      {{"Otro: x", "Kelvorin: x"}, 1},
      {{"Otro: x", "Tercero: x"}, 0},
      {{"kelvorin: x", "Kelvorin: x"}, 1},
      {{"Kelvorin"}, 0},
      {{}, 0}};
  for (const auto& [entries, index] : keywordCases)
    EXPECT_EQ(viewer.PickKeywordEntry(entries), index);
  EXPECT_EQ(viewer.PickContentsViewer({"Kelvorin", "WinHelp"}), 0);
  EXPECT_EQ(viewer.PickContentsViewer({"Algo", "KELVORIN"}), 1);
  EXPECT_EQ(viewer.PickContentsViewer({"WinHelp"}), -1);
}

TEST_F(HelpTest, HelpFileIsFoundBesideTheProgram) {
  help_.system.ShowHelpContext(3, "SIGAD.chm");
  help_.system.ShowTableOfContents("SIGAD.chm");
  EXPECT_EQ(Calls(), "0|" + beside_ + "SIGAD.chm|15|3\n0|" + beside_ + "SIGAD.chm|1|0\n");
  help_.system.ShowHelpContext(7, "/ayuda/SIGAD.CHM");
  EXPECT_EQ(Calls(), "0|/ayuda/SIGAD.CHM|15|7\n") << "a file with a folder is used as given";
}

TEST_F(HelpTest, FilesThatAreNotCompiledHelpShowNothing) {
  for (const char* file : {"manual", "SIGAD.hlp"}) {
    help_.system.ShowHelpContext(3, file);
    help_.system.ShowKeyword("Tablas", file);
    help_.system.ShowTopic("indice", file);
    help_.system.ShowTableOfContents(file);
  }
  EXPECT_EQ(Calls(), "");
}

TEST_F(HelpTest, TopicsKeywordsAndQuitting) {
  help_.system.ShowTopic("indice", "SIGAD.chm");
  help_.system.ShowTopic("indice.HTML", "SIGAD.chm");
  help_.system.ShowTopic("nota.txt", "SIGAD.chm");
  help_.system.ShowTopic("v1.0/pagina", "SIGAD.chm");
  help_.system.ShowKeyword("  Tablas ", "SIGAD.chm");
  help_.system.ShowKeyword("Error: disco", "SIGAD.chm");
  help_.system.Quit();
  const std::string file = beside_ + "SIGAD.chm";
  EXPECT_EQ(Calls(), "0|" + file + "::/indice.htm|0|0\n0|" + file + "::/indice.HTML|0|0\n0|" +
                         file + "::/nota.txt.htm|0|0\n0|" + file + "::/v1.0/pagina.htm|0|0\n0|" +
                         file + "|2|Tablas\n0|" + file + "|2|disco\n0|(ninguno)|18|0\n");
}

TEST_F(HelpTest, OneViewerAloneShowsItsContents) {
  HelpSystem system;
  auto viewer = std::make_shared<HtmlHelpViewer>(kLibrary, [] { return std::string(); });
  viewer->Attach(system.Register(viewer));
  system.ShowTableOfContents("SIGAD.chm");
  EXPECT_EQ(Calls(), "0|" + beside_ + "SIGAD.chm|1|0\n");
  viewer->Withdraw();
  system.ShowTableOfContents("SIGAD.chm");
  EXPECT_EQ(Calls(), "") << "a withdrawn viewer is gone from the lists";
}

TEST(HelpWithoutLibraryTest, NothingIsCalledAndNothingRaised) {
  ApplicationHelp help;
  help.helpFile = "SIGAD.chm";
  RegisterHelpViewers(help.system, "/no/such/libtransvormos-hhctrl.so",
                      [&] { return help.helpFile; });
  EXPECT_NO_THROW({
    help.system.ShowHelpContext(3, "SIGAD.chm");
    help.system.ShowTableOfContents("SIGAD.chm");
    help.system.ShowKeyword("x", "SIGAD.chm");
    help.system.Quit();
  });
  WithdrawHelpViewers(help.system);
}

}  // namespace
}  // namespace tv
