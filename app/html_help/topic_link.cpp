#include "topic_link.h"

#include <vector>

namespace tv::help {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool NamesChm(std::string_view file) {
  if (file.size() < 4) return false;
  std::string ending;
  for (const char c : file.substr(file.size() - 4)) ending += LowerAscii(c);
  return ending == ".chm";
}

// The scheme of `link` in lower case ("ms-its", "http"), or "" when the link
// has none. A single letter before ':' is a Windows drive, not a scheme.
std::string SchemeOf(std::string_view link) {
  std::string scheme;
  for (const char c : link) {
    if (c == ':') return scheme.size() > 1 ? scheme : std::string();
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && !(other && !scheme.empty())) return {};
    scheme += LowerAscii(c);
  }
  return {};
}

// `path` with "." and ".." segments folded and repeated slashes merged,
// always starting with "/". ".." above the top stays at the top.
std::string Normalized(std::string_view path) {
  std::vector<std::string_view> segments;
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t end = path.find('/', at);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view segment = path.substr(at, end - at);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    at = end + 1;
  }
  std::string out;
  for (const std::string_view segment : segments) {
    out += '/';
    out += segment;
  }
  if (out.empty()) out.push_back('/');
  // A link to a folder keeps its trailing slash, so that it is not taken
  // for a page.
  if (path.size() > 1 && path.back() == '/' && out != "/") out += '/';
  return out;
}

std::string Folder(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string("/")
                                         : std::string(path.substr(0, slash + 1));
}

}  // namespace

std::optional<TopicLink> ResolveLink(std::string_view base, std::string_view link) {
  std::string text(link);
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.erase(0, 1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
  if (text.empty()) return std::nullopt;
  for (char& c : text) {
    if (c == '\\') c = '/';
  }

  std::string fragment;
  if (const std::size_t hash = text.find('#'); hash != std::string::npos) {
    fragment = PercentDecoded(std::string_view(text).substr(hash + 1));
    text.erase(hash);
  }
  if (const std::size_t query = text.find('?'); query != std::string::npos) text.erase(query);

  bool absolute = false;
  const std::string scheme = SchemeOf(text);
  if (scheme == "chm") {
    text.erase(0, 4);
    if (text.rfind("//", 0) == 0) text.erase(0, 2);
    absolute = true;
  } else if (scheme == "ms-its" || scheme == "its" || scheme == "mk") {
    // Whatever names the archive comes before "::"; without it the rest is
    // taken as a path inside this file.
    const std::size_t separator = text.find("::");
    text.erase(0, separator == std::string::npos ? scheme.size() + 1 : separator + 2);
    if (scheme == "mk" && separator == std::string::npos) return std::nullopt;
    absolute = true;
  } else if (const std::size_t separator = text.find("::");
             separator != std::string::npos &&
             (scheme.empty() || NamesChm(text.substr(0, separator)))) {
    // "file.chm::/x.htm", where "file.chm:" reads like a scheme.
    text.erase(0, separator + 2);
    absolute = true;
  } else if (!scheme.empty()) {
    return std::nullopt;
  }

  text = PercentDecoded(text);
  if (text.empty()) {
    if (absolute) return std::nullopt;
    // "#anchor" alone: the same page.
    if (fragment.empty()) return std::nullopt;
    return TopicLink{Normalized(base), fragment};
  }
  if (!absolute && text.front() != '/') text = Folder(base) + text;
  return TopicLink{Normalized(text), fragment};
}

std::optional<TopicLink> FindAliasTarget(std::string_view alias,
                                         const std::function<bool(std::string_view)>& exists) {
  std::optional<TopicLink> link = ResolveLink("/", alias);
  if (!link || link->path.back() == '/') return std::nullopt;
  // ResolveLink has made the path absolute; each tail drops its first
  // folder.
  for (std::string_view tail = link->path;;) {
    if (exists(tail)) return TopicLink{std::string(tail), link->fragment};
    const std::size_t next = tail.find('/', 1);
    if (next == std::string_view::npos) return std::nullopt;
    tail.remove_prefix(next);
  }
}

}  // namespace tv::help
