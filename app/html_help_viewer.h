// HtmlHelpViewer: the help system's viewer for compiled HTML Help files
// (.chm), and its selector, which always chooses it.
//
// It shows what is asked through HTML Help's entry point "HtmlHelpA", which
// it loads at run time: on Windows from the platform's "HHCtrl.ocx"; here
// from the stand-in viewer library beside the program. Without the library,
// or without the entry point in it, every display call does nothing and
// nothing is reported.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "help_system.h"

namespace tv {

// HTML Help's commands, as the entry point numbers them.
enum HtmlHelpCommand : unsigned {
  kDisplayTopic = 0,  // HH_DISPLAY_TOPIC: "file::/topic", data 0
  kDisplayToc = 1,    // HH_DISPLAY_TOC: the file, data 0
  kDisplayIndex = 2,  // HH_DISPLAY_INDEX: the file, data the keyword's text
  kHelpContext = 15,  // HH_HELP_CONTEXT: the file, data the context number
  kCloseAll = 18,     // HH_CLOSE_ALL: no file, data 0
};

// Whether the name ends in ".chm", letter case aside.
bool IsCompiledHelpFile(std::string_view name);

// The folder of the program's own executable, with its trailing separator.
std::string ProgramDirectory();

class HtmlHelpViewer : public ExtendedHelpViewer, public HelpSelector {
 public:
  using EntryPoint = void* (*)(void* ownerWindow, const char* file, unsigned command,
                               std::uintptr_t data);

  // Loads the library and looks up "HtmlHelpA" in it. `applicationHelpFile`
  // gives the application's help file, for requests that bring none.
  HtmlHelpViewer(const std::filesystem::path& library,
                 std::function<std::string()> applicationHelpFile);
  // Forgets the entry point and unloads the library.
  ~HtmlHelpViewer() override;
  HtmlHelpViewer(const HtmlHelpViewer&) = delete;
  HtmlHelpViewer& operator=(const HtmlHelpViewer&) = delete;

  // Viewer face.
  std::string ViewerName() override { return "Kelvorin"; }
  int KeywordMatchCount(const std::string& keyword) override;
  std::vector<std::string> KeywordEntries(const std::string& keyword) override;
  bool HasContents() override { return true; }
  void ShowContents() override;
  void ShowKeyword(const std::string& keyword) override;
  void SetViewerId(int id) override { id_ = id; }
  void CloseHelpWindows() override;
  void Detach() override;
  bool HasTopic(const std::string& topic) override;
  void ShowTopic(const std::string& topic) override;
  bool HasContext(int context, const std::string& helpFile) override;
  void ShowContext(int context, const std::string& helpFile) override;

  // Selector face.
  int PickKeywordEntry(const std::vector<std::string>& entries) override;
  int PickContentsViewer(const std::vector<std::string>& viewerNames) override;

  // Keeps the manager that registration gave.
  void Attach(HelpManager* manager) { manager_ = manager; }
  // Asks the manager to release the viewer's id, then drops the manager.
  void Withdraw();
  // The help file the display operations use: the manager's, else the
  // application's, in the program's folder when it names no folder.
  std::string CurrentHelpFile() const;

 private:
  void CallHtmlHelp(const std::string& file, unsigned command, std::uintptr_t data);

  int id_ = 0;
  EntryPoint entry_ = nullptr;
  void* library_ = nullptr;
  HelpManager* manager_ = nullptr;
  std::function<std::string()> applicationHelpFile_;
  const std::string defaultTopicExtension_ = ".htm";
};

// Program start: creates the viewer from the library, registers it (after
// the legacy WinHelp viewer, whose tester refuses everything) and makes it
// the selector. Program end: withdraws it, then clears the help system.
void RegisterHelpViewers(HelpSystem& system, const std::filesystem::path& library,
                         std::function<std::string()> applicationHelpFile);
void WithdrawHelpViewers(HelpSystem& system);

}  // namespace tv
