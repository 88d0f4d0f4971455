#include "ini_file.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "error.h"
#include "text.h"

namespace tv {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A line of the file with its own line ending, so that it is written back
// exactly as read.
struct Line {
  std::string text;
  std::string ending;
};

std::vector<Line> SplitLines(const std::string& content) {
  std::vector<Line> lines;
  for (std::size_t at = 0; at < content.size();) {
    const std::size_t end = content.find('\n', at);
    if (end == std::string::npos) {
      lines.push_back({content.substr(at), ""});
      break;
    }
    const bool crlf = end > at && content[end - 1] == '\r';
    lines.push_back({content.substr(at, end - at - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
    at = end + 1;
  }
  return lines;
}

// The section name of a line "[name]", or nothing.
std::optional<std::string> SectionOf(const std::string& text) {
  const std::string trimmed = TrimBoth(text);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return std::nullopt;
  return TrimBoth(trimmed.substr(1, trimmed.size() - 2));
}

bool IsKey(const std::string& text, std::string_view key) {
  const std::size_t equals = text.find('=');
  return equals != std::string::npos && SameName(TrimBoth(text.substr(0, equals)), key);
}

}  // namespace

void WriteIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key,
                   std::string_view value) {
  const std::string failure = Format("Unable to write to %s", {file.string()});
  std::string content;
  if (std::ifstream in{file, std::ios::binary}) {
    std::ostringstream read;
    read << in.rdbuf();
    content = read.str();
  } else if (std::filesystem::exists(file)) {
    throw Error(failure);
  }
  std::vector<Line> lines = SplitLines(content);
  // New lines end as the file's do; CR LF, as in Windows, when it has none.
  const bool unixEndings = content.find('\n') != std::string::npos && content.find("\r\n") == std::string::npos;
  const std::string ending = unixEndings ? "\n" : "\r\n";
  const std::string entry = std::string(key) + "=" + std::string(value);

  std::size_t inSection = lines.size(), lastEntry = lines.size();
  bool done = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (const auto name = SectionOf(lines[i].text)) {
      if (inSection != lines.size()) break;  // the next section: the key was not there
      if (SameName(*name, section)) inSection = lastEntry = i;
    } else if (inSection != lines.size() && !TrimBoth(lines[i].text).empty()) {
      lastEntry = i;
      if (IsKey(lines[i].text, key)) {
        lines[i].text = entry;
        done = true;
      }
    }
  }
  if (!done && inSection != lines.size()) {
    // A new key goes after the section's last entry.
    if (lines[lastEntry].ending.empty()) lines[lastEntry].ending = ending;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastEntry) + 1, Line{entry, ending});
  } else if (!done) {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = ending;
    lines.push_back({"[" + std::string(section) + "]", ending});
    lines.push_back({entry, ending});
  }

  std::string updated;
  for (const Line& line : lines) updated += line.text + line.ending;
  try {
    AtomicFile out(file);
    out.Write(updated);
    out.Commit();
  } catch (const Error&) {
    throw Error(failure);
  }
}

}  // namespace tv
