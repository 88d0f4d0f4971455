// Code pages: the 8-bit ANSI text of the program, the UTF-8 of the XML
// documents and of the terminal, and the code pages of dBase tables.
//
// The ANSI code page is Windows-1252, the one of Spanish Windows. A character
// that a code page cannot represent becomes '?', its default character.
// The byte tables come from the C library's iconv, built once per code page.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tv {

// A single-byte code page, such as 437, 850 or 1252.
class CodePage {
 public:
  // The code page with that number. Throws Error when the C library does not
  // know it or it is not a single-byte code page.
  static const CodePage& Get(int number);
  // Windows-1252, the program's ANSI code page.
  static const CodePage& Ansi();

  int number() const { return number_; }
  // The Unicode character of a byte. A byte the code page leaves undefined
  // stands for the character of the same number, as Windows does.
  char32_t ToUnicode(unsigned char byte) const { return toUnicode_[byte]; }
  // The byte of a Unicode character, or -1 when the code page lacks it.
  int FromUnicode(char32_t character) const;

 private:
  explicit CodePage(int number);
  int number_;
  std::array<char32_t, 256> toUnicode_{};
  std::unordered_map<char32_t, unsigned char> fromUnicode_;
};

// ANSI text to UTF-8.
std::string AnsiToUtf8(std::string_view ansi);
// Appends the UTF-8 form of a Unicode character.
void AppendUtf8(std::string& out, char32_t character);
// UTF-8 to ANSI; every character outside Windows-1252, and every byte of a
// malformed sequence, becomes one '?'.
std::string Utf8ToAnsi(std::string_view utf8);

// Converts 8-bit text from one single-byte code page to another through a
// table of 256 bytes; unrepresentable characters become '?'.
class Recoder {
 public:
  Recoder(const CodePage& from, const CodePage& to);
  bool identity() const { return identity_; }
  unsigned char operator()(unsigned char byte) const { return table_[byte]; }
  std::string operator()(std::string_view text) const;

 private:
  std::array<unsigned char, 256> table_{};
  bool identity_ = true;
};

}  // namespace tv
