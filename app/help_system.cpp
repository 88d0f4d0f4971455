#include "help_system.h"

#include <algorithm>

namespace tv {

HelpManager* HelpSystem::Register(std::shared_ptr<CustomHelpViewer> viewer) {
  const int id = nextId_++;
  viewer->SetViewerId(id);
  viewers_.push_back({id, std::move(viewer)});
  return this;
}

void HelpSystem::AssignSelector(std::shared_ptr<HelpSelector> selector) {
  selector_ = std::move(selector);
}

void HelpSystem::Clear() {
  selector_.reset();
  viewers_.clear();
}

void HelpSystem::Release(int viewerId) {
  std::erase_if(viewers_, [viewerId](const Entry& entry) { return entry.id == viewerId; });
}

void HelpSystem::ShowTableOfContents(const std::string& helpFile) {
  helpFile_ = helpFile;
  if (viewers_.size() == 1) {
    if (viewers_.front().viewer->HasContents()) viewers_.front().viewer->ShowContents();
    return;
  }
  std::vector<std::pair<std::string, std::shared_ptr<CustomHelpViewer>>> offering;
  for (const Entry& entry : viewers_) {
    if (entry.viewer->HasContents())
      offering.emplace_back(entry.viewer->ViewerName(), entry.viewer);
  }
  if (offering.empty()) return;
  std::stable_sort(offering.begin(), offering.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::size_t chosen = 0;
  if (offering.size() >= 2 && selector_) {
    std::vector<std::string> names;
    for (const auto& [name, viewer] : offering) names.push_back(name);
    const int picked = selector_->PickContentsViewer(names);
    if (picked < 0 || static_cast<std::size_t>(picked) >= offering.size()) return;
    chosen = static_cast<std::size_t>(picked);
  }
  offering[chosen].second->ShowContents();
}

void HelpSystem::ShowHelpContext(int context, const std::string& helpFile) {
  helpFile_ = helpFile;
  for (const Entry& entry : viewers_) {
    auto* extended = dynamic_cast<ExtendedHelpViewer*>(entry.viewer.get());
    if (extended && extended->HasContext(context, helpFile)) {
      extended->ShowContext(context, helpFile);
      return;
    }
  }
}

void HelpSystem::ShowKeyword(const std::string& keyword, const std::string& helpFile) {
  helpFile_ = helpFile;
  std::vector<std::shared_ptr<CustomHelpViewer>> offering;
  for (const Entry& entry : viewers_) {
    if (entry.viewer->KeywordMatchCount(keyword) > 0) offering.push_back(entry.viewer);
  }
  if (offering.size() == 1) {
    offering.front()->ShowKeyword(keyword);
    return;
  }
  if (offering.empty() || !selector_) return;
  std::vector<std::pair<std::string, std::shared_ptr<CustomHelpViewer>>> entries;
  for (const auto& viewer : offering) {
    for (std::string& text : viewer->KeywordEntries(keyword))
      entries.emplace_back(std::move(text), viewer);
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> texts;
  for (const auto& [text, viewer] : entries) texts.push_back(text);
  const int picked = selector_->PickKeywordEntry(texts);
  if (picked >= 0 && static_cast<std::size_t>(picked) < entries.size()) {
    entries[static_cast<std::size_t>(picked)].second->ShowKeyword(
        entries[static_cast<std::size_t>(picked)].first);
  }
}

void HelpSystem::ShowTopic(const std::string& topic, const std::string& helpFile) {
  helpFile_ = helpFile;
  for (const Entry& entry : viewers_) {
    auto* extended = dynamic_cast<ExtendedHelpViewer*>(entry.viewer.get());
    if (extended && extended->HasTopic(topic)) {
      extended->ShowTopic(topic);
      return;
    }
  }
}

void HelpSystem::Quit() {
  for (const Entry& entry : std::vector<Entry>(viewers_)) entry.viewer->CloseHelpWindows();
}

}  // namespace tv
