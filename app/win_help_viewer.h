// The framework's viewer of old-style WinHelp files, and the tester it
// consults before it serves a link, topic or context. The program installs
// a tester that refuses everything, so those requests go to the compiled
// HTML Help viewer; WinHelp itself does not exist on this platform.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "help_system.h"

namespace tv {

class WinHelpTester {
 public:
  bool AcceptsLink(const std::string& link, const std::string& helpFile) const;
  bool AcceptsTopic(const std::string& topic, const std::string& helpFile) const;
  bool AcceptsContext(int context, const std::string& helpFile) const;
  // The one entry ": " followed by the link.
  std::vector<std::string> LinkEntries(const std::string& link) const;
  std::string HelpDirectory() const { return {}; }
  std::string FallbackHelpFile() const { return {}; }
};

class WinHelpViewer : public ExtendedHelpViewer {
 public:
  // The tester slot, shared by the program.
  static std::shared_ptr<WinHelpTester>& Tester();

  std::string ViewerName() override { return "WinHelp"; }
  int KeywordMatchCount(const std::string& keyword) override;
  std::vector<std::string> KeywordEntries(const std::string& keyword) override;
  // It always offers a table of contents.
  bool HasContents() override { return true; }
  void ShowContents() override {}
  void ShowKeyword(const std::string&) override {}
  void SetViewerId(int id) override { id_ = id; }
  void CloseHelpWindows() override {}
  void Detach() override {}
  bool HasTopic(const std::string& topic) override;
  void ShowTopic(const std::string&) override {}
  bool HasContext(int context, const std::string& helpFile) override;
  void ShowContext(int, const std::string&) override {}

 private:
  int id_ = 0;
};

}  // namespace tv
