// The sitemaps of a help file: its contents (.hhc) and its index (.hhk).
// Both are HTML lists of <OBJECT type="text/sitemap"> entries, each with
// <PARAM name="Name" value="..."> and <PARAM name="Local" value="...">, nested
// with <UL>.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tv::help {

struct SitemapEntry {
  std::string name;   // UTF-8, character references decoded
  std::string local;  // the page as written ("sub/tablas.htm#a"); "" for a heading
  std::vector<SitemapEntry> children;
};

// Parses the bytes of a sitemap. These files are sloppy HTML written by
// hand or by old tools, so: tag and parameter names in any letter case;
// <LI>, </OBJECT> and </UL> may be missing; params come in any order, with
// values quoted either way or not at all; the first "Name" and the first
// "Local" count. Text is decoded as DecodeHtml does (so windows-1252 bytes
// are fine) and names have their character references (&aacute;) decoded.
// Objects of other types ("text/site properties") are skipped. Never fails:
// what cannot be read is left out.
std::vector<SitemapEntry> ParseSitemap(std::string_view bytes);

// The first entry in document order (parents before their children) that
// leads to a page and whose name starts with `keyword`, letter case aside;
// an entry without a page of its own leads to its first descendant with one.
// The keyword is trimmed first. Nothing for an empty keyword or no match.
const SitemapEntry* FindKeyword(const std::vector<SitemapEntry>& entries, std::string_view keyword);

// The first entry in document order that has a page, or nothing.
const SitemapEntry* FirstTopic(const std::vector<SitemapEntry>& entries);

}  // namespace tv::help
