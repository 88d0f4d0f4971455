#include "help_book.h"

#include <array>

#include "text_decoding.h"

namespace tv::help {
namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() &&
         FoldCase(text.substr(text.size() - ending.size())) == FoldCase(ending);
}

bool IsPage(std::string_view path) {
  return EndsWithIgnoringCase(path, ".htm") || EndsWithIgnoringCase(path, ".html");
}

// Sitemap entries are written relative to their sitemap; made absolute
// once, they need no memory of where they came from.
void MakeLocalsAbsolute(std::vector<SitemapEntry>& entries, std::string_view base) {
  for (SitemapEntry& entry : entries) {
    if (const auto link = ResolveLink(base, entry.local)) {
      entry.local = link->fragment.empty() ? link->path : link->path + "#" + link->fragment;
    }
    MakeLocalsAbsolute(entry.children, base);
  }
}

}  // namespace

std::shared_ptr<const HelpBook> HelpBook::Open(const std::filesystem::path& file) {
  std::optional<ChmFile> chm = ChmFile::Open(file);
  if (!chm) return nullptr;
  std::shared_ptr<HelpBook> book(new HelpBook(std::move(*chm)));
  if (const auto title = book->file_.SystemText(kTitle)) book->title_ = DecodeGuessing(*title);
  book->contents_ = book->ReadSitemap({kContentsFile}, ".hhc");
  // Some tools name the index in record 6, where Microsoft's compiler puts
  // the project's name; ReadSitemap only takes names of objects that exist.
  book->index_ = book->ReadSitemap({kIndexFile, kCompiledFile}, ".hhk");
  book->default_topic_ = book->FindDefaultTopic();
  return book;
}

std::vector<SitemapEntry> HelpBook::ReadSitemap(std::initializer_list<int> codes,
                                                std::string_view extension) const {
  std::optional<std::string> named;
  for (const int code : codes) {
    const auto text = file_.SystemText(code);
    if (!text) continue;
    if (const auto link = ResolveLink("/", *text); link && file_.Contains(link->path)) {
      named = link->path;
      break;
    }
  }
  if (!named) {
    for (const std::string& object : file_.ObjectPaths()) {
      if (EndsWithIgnoringCase(object, extension)) {
        named = object;
        break;
      }
    }
  }
  if (!named) return {};
  const std::optional<std::string> bytes = file_.Read(*named);
  if (!bytes) return {};
  std::vector<SitemapEntry> entries = ParseSitemap(*bytes);
  MakeLocalsAbsolute(entries, *named);
  return entries;
}

std::optional<TopicLink> HelpBook::Existing(std::string_view base, std::string_view link) const {
  std::optional<TopicLink> topic = ResolveLink(base, link);
  if (!topic || !file_.Contains(topic->path)) return std::nullopt;
  return topic;
}

TopicLink HelpBook::FindDefaultTopic() const {
  if (const auto text = file_.SystemText(kDefaultTopic)) {
    if (auto topic = Existing("/", *text)) return *topic;
  }
  static constexpr std::array<std::string_view, 4> kUsualNames = {"/index.htm", "/index.html",
                                                                  "/default.htm", "/default.html"};
  for (const std::string_view name : kUsualNames) {
    if (file_.Contains(name)) return TopicLink{std::string(name), ""};
  }
  if (const SitemapEntry* first = FirstTopic(contents_)) {
    if (auto topic = EntryTopic(*first)) return *topic;
  }
  for (const std::string& object : file_.ObjectPaths()) {
    if (IsPage(object)) return TopicLink{object, ""};
  }
  return {};
}

std::optional<TopicLink> HelpBook::EntryTopic(const SitemapEntry& entry) const {
  return Existing("/", entry.local);
}

std::optional<TopicLink> HelpBook::Topic(std::string_view topic) const {
  return Existing("/", topic);
}

std::optional<TopicLink> HelpBook::ContextTopic(std::uint32_t context) const {
  const std::optional<std::string> alias = file_.ContextAlias(context);
  if (!alias) return std::nullopt;
  return FindAliasTarget(*alias, [this](std::string_view path) { return file_.Contains(path); });
}

std::optional<TopicLink> HelpBook::KeywordTopic(std::string_view keyword) const {
  const SitemapEntry* entry = FindKeyword(index_, keyword);
  if (!entry) return std::nullopt;
  return EntryTopic(*entry);
}

}  // namespace tv::help
