// The codes a converter has given out, and the numbering that makes a
// repeated code unique.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace tv {

class CodeList {
 public:
  enum class Letters {
    CaseSensitive,    // 'mat' and 'MAT' are different codes (subjects)
    CaseInsensitive,  // 'jgp' and 'JGP' are the same code (teachers, rooms, groups)
  };
  explicit CodeList(Letters letters) : letters_(letters) {}

  bool Holds(std::string_view code) const { return codes_.count(Key(code)) != 0; }
  // Adding a code the list holds leaves it unchanged.
  void Add(std::string_view code) { codes_.insert(Key(code)); }

  // The first code not held among the base followed by 1, 2, 3 and so on,
  // the base being the code's first `baseLength` characters. A candidate
  // longer than the 10-character code fields becomes its first 8 and last 2
  // characters; when that is held too, the base cut short enough to keep the
  // whole number. The list is not changed.
  //
  // The numbers known to be taken are remembered per base, so numbering
  // many repeats of one code costs no more than numbering a few.
  std::string Numbered(std::string_view code, std::size_t baseLength);

 private:
  std::string Key(std::string_view code) const;
  Letters letters_;
  std::unordered_set<std::string> codes_;
  std::unordered_map<std::string, std::uint64_t>
      firstFree_;  // base key -> lowest number maybe free
};

// The code cut to fit a 10-character field: its first 8 and last 2
// characters when longer than 10, otherwise the code itself.
std::string ShortenedCode(std::string_view code);

// Windows-1252 letters in lower case, for comparisons without case.
std::string FoldCase(std::string_view ansi);

}  // namespace tv
