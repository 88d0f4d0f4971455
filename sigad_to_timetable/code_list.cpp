#include "code_list.h"

#include "text.h"

namespace tv {

namespace {
constexpr std::size_t kCodeWidth = 10;
}

std::string FoldCase(std::string_view ansi) {
  std::string out(ansi);
  for (char& ch : out) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
      ch = static_cast<char>(c + 0x20);
    } else if (c == 0x8A || c == 0x8C || c == 0x8E) {  // Š Œ Ž
      ch = static_cast<char>(c + 0x10);
    } else if (c == 0x9F) {  // Ÿ
      ch = static_cast<char>(0xFF);
    }
  }
  return out;
}

std::string ShortenedCode(std::string_view code) {
  if (code.size() <= kCodeWidth) return std::string(code);
  return std::string(code.substr(0, 8)) + std::string(code.substr(code.size() - 2));
}

std::string CodeList::Key(std::string_view code) const {
  return letters_ == Letters::CaseSensitive ? std::string(code) : FoldCase(code);
}

std::string CodeList::Numbered(std::string_view code, std::size_t baseLength) {
  const std::string base = LeftChars(code, static_cast<std::int32_t>(baseLength));
  std::uint64_t& number = firstFree_.try_emplace(Key(base), 1).first->second;
  for (;; ++number) {
    const std::string digits = std::to_string(number);
    const std::string candidate = base + digits;
    if (candidate.size() <= kCodeWidth) {
      if (!Holds(candidate)) return candidate;
      continue;
    }
    if (std::string shortened = ShortenedCode(candidate); !Holds(shortened)) return shortened;
    const std::string whole = LeftChars(base, static_cast<std::int32_t>(kCodeWidth) -
                                                  static_cast<std::int32_t>(digits.size())) +
                              digits;
    if (!Holds(whole)) return whole;
  }
}

}  // namespace tv
