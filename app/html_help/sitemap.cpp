#include "sitemap.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "html_entities.h"
#include "text_decoding.h"

namespace tv::help {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == ':';
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// Trimmed, with runs of white space (line breaks inside a value) as one
// space, and character references decoded.
std::string CleanValue(std::string_view raw) {
  std::string collapsed;
  bool space = false;
  for (const char c : raw) {
    if (IsSpace(c)) {
      space = !collapsed.empty();
      continue;
    }
    if (space) collapsed += ' ';
    space = false;
    collapsed += c;
  }
  return DecodeEntities(collapsed);
}

struct Tag {
  std::string name;  // lower case
  bool closing = false;
  std::vector<std::pair<std::string, std::string>> attributes;  // names in lower case

  std::string Attribute(std::string_view wanted) const {
    for (const auto& [key, value] : attributes) {
      if (key == wanted) return value;
    }
    return {};
  }
};

// Reads the tag whose '<' is at `at` into `tag`; returns where reading goes
// on. Comments and declarations ("<!DOCTYPE") come back with no name.
std::size_t ReadTag(std::string_view text, std::size_t at, Tag& tag) {
  tag = Tag{};
  std::size_t i = at + 1;
  if (text.substr(at, 4) == "<!--") {
    const std::size_t end = text.find("-->", at + 4);
    return end == std::string_view::npos ? text.size() : end + 3;
  }
  if (i < text.size() && text[i] == '/') {
    tag.closing = true;
    ++i;
  }
  const std::size_t name_start = i;
  while (i < text.size() && IsNameChar(text[i])) ++i;
  tag.name = Lower(text.substr(name_start, i - name_start));
  if (tag.name.empty()) {
    const std::size_t end = text.find('>', at);
    return end == std::string_view::npos ? text.size() : end + 1;
  }
  while (i < text.size()) {
    while (i < text.size() && (IsSpace(text[i]) || text[i] == '/')) ++i;
    if (i >= text.size()) break;
    if (text[i] == '>') return i + 1;
    const std::size_t attribute_start = i;
    while (i < text.size() && !IsSpace(text[i]) && text[i] != '=' && text[i] != '>' &&
           text[i] != '/') {
      ++i;
    }
    std::string name = Lower(text.substr(attribute_start, i - attribute_start));
    if (name.empty()) {
      ++i;  // a stray character such as a lone quote
      continue;
    }
    while (i < text.size() && IsSpace(text[i])) ++i;
    std::string value;
    if (i < text.size() && text[i] == '=') {
      ++i;
      while (i < text.size() && IsSpace(text[i])) ++i;
      if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
        const char quote = text[i++];
        std::size_t end = text.find(quote, i);
        // An unclosed quote must not swallow the rest of the file.
        if (end == std::string_view::npos) end = std::min(text.find('>', i), text.size());
        value = std::string(text.substr(i, end - i));
        i = end < text.size() && text[end] == quote ? end + 1 : end;
      } else {
        const std::size_t value_start = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '>') ++i;
        value = std::string(text.substr(value_start, i - value_start));
      }
    }
    tag.attributes.emplace_back(std::move(name), std::move(value));
  }
  return text.size();
}

// Builds the tree as the tags come. `levels_` holds the list entries go into
// at each open <UL>; only the innermost one ever grows, so the pointers into
// the lists below it stay valid.
class TreeBuilder {
 public:
  TreeBuilder() : levels_{&root_} {}
  TreeBuilder(const TreeBuilder&) = delete;
  TreeBuilder& operator=(const TreeBuilder&) = delete;

  void Take(const Tag& tag) {
    if (tag.name == "object") {
      FinishEntry();
      if (tag.closing) return;
      // Objects without a type are taken as entries: hand-written files
      // leave it out.
      const std::string type = Lower(tag.Attribute("type"));
      if (type.empty() || type.find("sitemap") != std::string::npos) entry_.emplace();
    } else if (tag.name == "param" && !tag.closing) {
      if (!entry_) return;
      const std::string name = Lower(tag.Attribute("name"));
      if (name == "name" && entry_->name.empty()) entry_->name = CleanValue(tag.Attribute("value"));
      if (name == "local" && entry_->local.empty()) {
        entry_->local = CleanValue(tag.Attribute("value"));
      }
    } else if (tag.name == "li") {
      FinishEntry();
    } else if (tag.name == "ul" || tag.name == "ol") {
      FinishEntry();
      if (tag.closing) {
        if (levels_.size() > 1) levels_.pop_back();
      } else {
        // A list opened before any entry of its own level (the outer <UL>
        // of every file) adds no depth.
        std::vector<SitemapEntry>* current = levels_.back();
        levels_.push_back(current->empty() ? current : &current->back().children);
      }
    }
  }

  std::vector<SitemapEntry> Finish() {
    FinishEntry();
    return std::move(root_);
  }

 private:
  void FinishEntry() {
    if (entry_ && (!entry_->name.empty() || !entry_->local.empty())) {
      levels_.back()->push_back(std::move(*entry_));
    }
    entry_.reset();
  }

  std::vector<SitemapEntry> root_;
  std::vector<std::vector<SitemapEntry>*> levels_;
  std::optional<SitemapEntry> entry_;
};

const SitemapEntry* FindFolded(const std::vector<SitemapEntry>& entries,
                               const std::string& keyword) {
  for (const SitemapEntry& entry : entries) {
    if (FoldCase(entry.name).rfind(keyword, 0) == 0) {
      if (!entry.local.empty()) return &entry;
      if (const SitemapEntry* topic = FirstTopic(entry.children)) return topic;
    }
    if (const SitemapEntry* found = FindFolded(entry.children, keyword)) return found;
  }
  return nullptr;
}

}  // namespace

std::vector<SitemapEntry> ParseSitemap(std::string_view bytes) {
  const std::string text = DecodeHtml(bytes);
  TreeBuilder builder;
  Tag tag;
  std::size_t at = text.find('<');
  while (at != std::string::npos && at < text.size()) {
    at = ReadTag(text, at, tag);
    if (!tag.name.empty()) builder.Take(tag);
    at = text.find('<', at);
  }
  return builder.Finish();
}

const SitemapEntry* FirstTopic(const std::vector<SitemapEntry>& entries) {
  for (const SitemapEntry& entry : entries) {
    if (!entry.local.empty()) return &entry;
    if (const SitemapEntry* topic = FirstTopic(entry.children)) return topic;
  }
  return nullptr;
}

const SitemapEntry* FindKeyword(const std::vector<SitemapEntry>& entries,
                                std::string_view keyword) {
  std::size_t first = 0;
  std::size_t last = keyword.size();
  while (first < last && IsSpace(keyword[first])) ++first;
  while (last > first && IsSpace(keyword[last - 1])) --last;
  if (first == last) return nullptr;
  return FindFolded(entries, FoldCase(DecodeGuessing(keyword.substr(first, last - first))));
}

}  // namespace tv::help
