#include "win_help_viewer.h"

namespace tv {

bool WinHelpTester::AcceptsLink(const std::string&, const std::string&) const { return false; }
bool WinHelpTester::AcceptsTopic(const std::string&, const std::string&) const { return false; }
bool WinHelpTester::AcceptsContext(int, const std::string&) const { return false; }
std::vector<std::string> WinHelpTester::LinkEntries(const std::string& link) const {
  return {": " + link};
}

std::shared_ptr<WinHelpTester>& WinHelpViewer::Tester() {
  static std::shared_ptr<WinHelpTester> tester;
  return tester;
}

int WinHelpViewer::KeywordMatchCount(const std::string& keyword) {
  return Tester() && Tester()->AcceptsLink(keyword, {}) ? 1 : 0;
}

std::vector<std::string> WinHelpViewer::KeywordEntries(const std::string& keyword) {
  return Tester() ? Tester()->LinkEntries(keyword) : std::vector<std::string>{};
}

bool WinHelpViewer::HasTopic(const std::string& topic) {
  return Tester() && Tester()->AcceptsTopic(topic, {});
}

bool WinHelpViewer::HasContext(int context, const std::string& helpFile) {
  return Tester() && Tester()->AcceptsContext(context, helpFile);
}

}  // namespace tv
