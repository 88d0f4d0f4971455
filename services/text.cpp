#include "text.h"

#include <algorithm>

namespace tv {

std::string TrimLeading(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string TrimTrailing(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string TrimBoth(std::string_view text) {
  // TrimLeading of TrimTrailing, in one step.
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string LeftChars(std::string_view text, std::int32_t count) {
  if (static_cast<std::int64_t>(count) >= static_cast<std::int64_t>(text.size())) {
    return std::string(text);
  }
  return count <= 0 ? std::string() : std::string(text.substr(0, static_cast<std::size_t>(count)));
}

std::string RightChars(std::string_view text, std::int32_t count) {
  if (static_cast<std::int64_t>(count) >= static_cast<std::int64_t>(text.size())) {
    return std::string(text);
  }
  return count <= 0 ? std::string()
                    : std::string(text.substr(text.size() - static_cast<std::size_t>(count)));
}

std::string WordInitials(std::string_view text) {
  std::string initials;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == ' ') initials += text[i + 1];
  }
  return initials;
}

std::string RemoveSpaces(std::string_view text) {
  std::string out = TrimBoth(text);
  out.erase(std::remove(out.begin(), out.end(), ' '), out.end());
  return out;
}

}  // namespace tv
