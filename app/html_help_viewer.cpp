#include "html_help_viewer.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>

#include "error.h"
#include "win_help_viewer.h"

namespace tv {
namespace {

// The one viewer of the program, while it lives.
HtmlHelpViewer* theViewer = nullptr;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

bool IsCompiledHelpFile(std::string_view name) {
  const auto dot = name.rfind('.');
  return dot != std::string_view::npos && SameIgnoringCase(name.substr(dot), ".chm");
}

std::string ProgramDirectory() {
  std::error_code ec;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : program.parent_path().string() + "/";
}

HtmlHelpViewer::HtmlHelpViewer(const std::filesystem::path& library,
                               std::function<std::string()> applicationHelpFile)
    : applicationHelpFile_(std::move(applicationHelpFile)) {
  library_ = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_) entry_ = reinterpret_cast<EntryPoint>(::dlsym(library_, "HtmlHelpA"));
  theViewer = this;
}

HtmlHelpViewer::~HtmlHelpViewer() {
  if (theViewer == this) theViewer = nullptr;
  entry_ = nullptr;
  if (library_) ::dlclose(library_);
}

std::string HtmlHelpViewer::CurrentHelpFile() const {
  std::string file = manager_ ? manager_->HelpFile() : std::string();
  if (file.empty() && applicationHelpFile_) file = applicationHelpFile_();
  if (!file.empty() && std::filesystem::path(file).parent_path().empty())
    file = ProgramDirectory() + file;
  return file;
}

void HtmlHelpViewer::CallHtmlHelp(const std::string& file, unsigned command, std::uintptr_t data) {
  if (!entry_) return;
  if (command == kCloseAll) {
    entry_(nullptr, nullptr, kCloseAll, data);
    return;
  }
  if (!manager_) return;
  entry_(reinterpret_cast<void*>(manager_->OwnerWindow()), file.c_str(), command, data);
}

int HtmlHelpViewer::KeywordMatchCount(const std::string&) {
  return IsCompiledHelpFile(CurrentHelpFile()) ? 1 : 0;
}

std::vector<std::string> HtmlHelpViewer::KeywordEntries(const std::string& keyword) {
  return {Format("%s: %s", {ViewerName(), keyword})};
}

void HtmlHelpViewer::ShowContents() {
  const std::string file = CurrentHelpFile();
  if (IsCompiledHelpFile(file)) CallHtmlHelp(file, kDisplayToc, 0);
}

void HtmlHelpViewer::ShowKeyword(const std::string& keyword) {
  const std::string file = CurrentHelpFile();
  if (!IsCompiledHelpFile(file)) return;
  std::string text = keyword;
  if (const auto colon = text.find(':'); colon != std::string::npos) text.erase(0, colon + 1);
  const auto first = std::find_if_not(text.begin(), text.end(), IsBlankOrControl);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlankOrControl).base();
  text = first < last ? std::string(first, last) : std::string();
  CallHtmlHelp(file, kDisplayIndex, reinterpret_cast<std::uintptr_t>(text.c_str()));
}

void HtmlHelpViewer::CloseHelpWindows() { CallHtmlHelp({}, kCloseAll, 0); }

void HtmlHelpViewer::Detach() {
  CloseHelpWindows();
  manager_ = nullptr;
}

bool HtmlHelpViewer::HasTopic(const std::string&) { return IsCompiledHelpFile(CurrentHelpFile()); }

void HtmlHelpViewer::ShowTopic(const std::string& topic) {
  const std::string file = CurrentHelpFile();
  if (!IsCompiledHelpFile(file)) return;
  std::string page = topic;
  const auto delimiter = page.find_last_of("/\\");
  const auto dot = page.rfind('.');
  std::string extension =
      dot != std::string::npos && (delimiter == std::string::npos || dot > delimiter)
          ? page.substr(dot)
          : std::string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension != ".htm" && extension != ".html") page += defaultTopicExtension_;
  CallHtmlHelp(file + "::/" + page, kDisplayTopic, 0);
}

bool HtmlHelpViewer::HasContext(int, const std::string& helpFile) {
  return IsCompiledHelpFile(helpFile);
}

void HtmlHelpViewer::ShowContext(int context, const std::string&) {
  const std::string file = CurrentHelpFile();
  if (IsCompiledHelpFile(file))
    CallHtmlHelp(file, kHelpContext, static_cast<std::uintptr_t>(context));
}

int HtmlHelpViewer::PickKeywordEntry(const std::vector<std::string>& entries) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].substr(0, entries[i].find(':')) == ViewerName()) return static_cast<int>(i);
  }
  return 0;
}

int HtmlHelpViewer::PickContentsViewer(const std::vector<std::string>& viewerNames) {
  for (std::size_t i = 0; i < viewerNames.size(); ++i) {
    if (SameIgnoringCase(viewerNames[i], ViewerName())) return static_cast<int>(i);
  }
  return -1;
}

void HtmlHelpViewer::Withdraw() {
  if (manager_) manager_->Release(id_);
  manager_ = nullptr;
}

void RegisterHelpViewers(HelpSystem& system, const std::filesystem::path& library,
                         std::function<std::string()> applicationHelpFile) {
  system.Register(std::make_shared<WinHelpViewer>());
  auto viewer = std::make_shared<HtmlHelpViewer>(library, std::move(applicationHelpFile));
  viewer->Attach(system.Register(viewer));
  system.AssignSelector(viewer);
  WinHelpViewer::Tester() = std::make_shared<WinHelpTester>();
}

void WithdrawHelpViewers(HelpSystem& system) {
  if (theViewer) theViewer->Withdraw();
  system.Clear();
  WinHelpViewer::Tester().reset();
}

}  // namespace tv
