// Text helpers that clean attribute values and build the short codes of the
// work tables.
//
// Texts are 8-bit strings in the ANSI code page (one character, one byte). A
// "space" is the character 32 alone: tabs, line breaks and non-breaking spaces
// are ordinary characters here. No function changes its argument.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

// The text without its leading and trailing spaces; spaces inside stay.
std::string TrimBoth(std::string_view text);
// The text without its leading spaces.
std::string TrimLeading(std::string_view text);
// The text without its trailing spaces.
std::string TrimTrailing(std::string_view text);

// The first `count` characters when count is less than the length (nothing
// when count is 0 or negative), otherwise the whole text.
std::string LeftChars(std::string_view text, std::int32_t count);
// The last `count` characters, on the same terms as LeftChars.
std::string RightChars(std::string_view text, std::int32_t count);

// The character after each space, in order; a space in the last position adds
// nothing. The first character only counts when it follows a space, so callers
// that want it prepend it themselves. In a run of spaces every space but the
// last adds a space.
std::string WordInitials(std::string_view text);

// TrimBoth of the text with every remaining space deleted.
std::string RemoveSpaces(std::string_view text);

}  // namespace tv
