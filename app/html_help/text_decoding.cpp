#include "text_decoding.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>

#include "code_page.h"

namespace tv::help {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return LowerAscii(c); });
  return lower;
}

// The five bytes windows-1252 leaves undefined map to the C1 controls, as
// browsers do, so that decoding never fails.
std::string DecodeCp1252(std::string_view bytes) {
  const CodePage& ansi = CodePage::Ansi();
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) AppendUtf8(out, ansi.ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

bool IsCp1252Alias(const std::string& charset) {
  static constexpr std::array<std::string_view, 11> kAliases = {
      "windows-1252", "cp1252", "x-cp1252", "latin1",   "iso-8859-1",    "iso8859-1",
      "iso_8859-1",   "l1",     "ascii",    "us-ascii", "ansi_x3.4-1968"};
  return std::find(kAliases.begin(), kAliases.end(), charset) != kAliases.end();
}

std::string WithoutUtf8Bom(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return std::string(text);
}

// Any other charset, through iconv; a byte sequence it cannot convert
// becomes U+FFFD. False when iconv does not know the charset.
bool DecodeWithIconv(std::string_view bytes, const std::string& charset, std::string& out) {
  iconv_t converter = ::iconv_open("UTF-8", charset.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  std::string input(bytes);
  char* in = input.data();
  std::size_t in_left = input.size();
  std::array<char, 4096> buffer;
  while (in_left > 0) {
    char* to = buffer.data();
    std::size_t to_left = buffer.size();
    const std::size_t result = ::iconv(converter, &in, &in_left, &to, &to_left);
    out.append(buffer.data(), buffer.size() - to_left);
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      AppendUtf8(out, 0xFFFD);
      ++in;
      --in_left;
    }
  }
  ::iconv_close(converter);
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07u;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string DeclaredCharset(std::string_view html) {
  const std::string lower = LowerAscii(html.substr(0, std::min<std::size_t>(html.size(), 16384)));
  for (std::size_t at = lower.find("<meta"); at != std::string::npos;
       at = lower.find("<meta", at + 1)) {
    const std::size_t end = std::min(lower.find('>', at), lower.size());
    const std::string_view tag = std::string_view(lower).substr(at, end - at);
    std::size_t pos = tag.find("charset");
    if (pos == std::string_view::npos) continue;
    pos += 7;
    while (pos < tag.size() && (tag[pos] == ' ' || tag[pos] == '=' || tag[pos] == '"' ||
                                tag[pos] == '\'' || tag[pos] == '\t')) {
      ++pos;
    }
    std::string charset;
    while (pos < tag.size() &&
           ((tag[pos] >= 'a' && tag[pos] <= 'z') || (tag[pos] >= '0' && tag[pos] <= '9') ||
            tag[pos] == '-' || tag[pos] == '_' || tag[pos] == '.' || tag[pos] == ':')) {
      charset += tag[pos++];
    }
    if (!charset.empty()) return charset;
  }
  return {};
}

std::string DecodeToUtf8(std::string_view bytes, std::string_view charset_name) {
  const std::string charset = LowerAscii(charset_name);
  if (charset == "utf-8" || charset == "utf8") {
    return IsValidUtf8(bytes) ? WithoutUtf8Bom(bytes) : DecodeCp1252(bytes);
  }
  if (charset.empty() || IsCp1252Alias(charset)) return DecodeCp1252(bytes);
  std::string out;
  if (DecodeWithIconv(bytes, charset, out)) return out;
  return DecodeCp1252(bytes);
}

std::string DecodeHtml(std::string_view html) {
  if (html.substr(0, 3) == "\xEF\xBB\xBF") return DecodeToUtf8(html.substr(3), "utf-8");
  if (html.substr(0, 2) == "\xFF\xFE") return DecodeToUtf8(html.substr(2), "utf-16le");
  if (html.substr(0, 2) == "\xFE\xFF") return DecodeToUtf8(html.substr(2), "utf-16be");
  const std::string charset = DeclaredCharset(html);
  if (!charset.empty()) return DecodeToUtf8(html, charset);
  return DecodeGuessing(html);
}

std::string DecodeGuessing(std::string_view text) {
  return IsValidUtf8(text) ? WithoutUtf8Bom(text) : DecodeCp1252(text);
}

std::string FoldCase(std::string_view utf8) {
  std::string folded(utf8);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(folded[i]);
    if (byte >= 'A' && byte <= 'Z') {
      folded[i] = static_cast<char>(byte - 'A' + 'a');
    } else if (byte == 0xC3 && i + 1 < folded.size()) {
      // U+00C0-U+00DE are the capitals of U+00E0-U+00FE, except U+00D7 (×).
      const auto next = static_cast<unsigned char>(folded[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) {
        folded[i + 1] = static_cast<char>(next + 0x20);
      }
      ++i;
    }
  }
  return folded;
}

}  // namespace tv::help
