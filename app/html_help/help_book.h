// A help file ready to be shown: the archive with its contents and index
// sitemaps read, its title and default page found, and the ways HTML Help's
// commands name a page (a topic, a context number, a keyword) turned into
// pages of the file. No user interface here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chm_file.h"
#include "sitemap.h"
#include "topic_link.h"

namespace tv::help {

class HelpBook {
 public:
  // Opens and reads `file`; nothing when it is missing or not a CHM file.
  static std::shared_ptr<const HelpBook> Open(const std::filesystem::path& file);

  const ChmFile& file() const { return file_; }
  // /#SYSTEM's title in UTF-8; "" when the file has none.
  const std::string& title() const { return title_; }
  // The contents (.hhc) named in /#SYSTEM, else the first .hhc object; the
  // index (.hhk) likewise. Empty when the file has none. Their entries'
  // pages are absolute object paths ("/sub/x.htm#a").
  const std::vector<SitemapEntry>& contents() const { return contents_; }
  const std::vector<SitemapEntry>& index() const { return index_; }
  // The page shown when nothing else is asked for, or when what is asked for
  // is not in the file: /#SYSTEM's default topic, else /index.htm,
  // /index.html, /default.htm or /default.html, else the first page of the
  // contents, else the first HTML object. An empty path for a file without
  // pages.
  const TopicLink& default_topic() const { return default_topic_; }

  // The page a contents or index entry leads to, when it is in the file.
  std::optional<TopicLink> EntryTopic(const SitemapEntry& entry) const;
  // HH_DISPLAY_TOPIC's topic ("/sub/x.htm#a", "x.htm"), when it is in the
  // file.
  std::optional<TopicLink> Topic(std::string_view topic) const;
  // HH_HELP_CONTEXT's number through /#IVB and /#STRINGS, when it is known
  // and its page is in the file.
  std::optional<TopicLink> ContextTopic(std::uint32_t context) const;
  // HH_DISPLAY_INDEX's keyword: the first index entry that starts with it,
  // letter case aside (see FindKeyword).
  std::optional<TopicLink> KeywordTopic(std::string_view keyword) const;

 private:
  explicit HelpBook(ChmFile file) : file_(std::move(file)) {}
  // The sitemap the first of /#SYSTEM records `codes` names, else the first
  // object with `extension`.
  std::vector<SitemapEntry> ReadSitemap(std::initializer_list<int> codes,
                                        std::string_view extension) const;
  TopicLink FindDefaultTopic() const;
  std::optional<TopicLink> Existing(std::string_view base, std::string_view link) const;

  ChmFile file_;
  std::string title_;
  std::vector<SitemapEntry> contents_;
  std::vector<SitemapEntry> index_;
  TopicLink default_topic_;
};

}  // namespace tv::help
