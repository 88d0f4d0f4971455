#include "html_entities.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "code_page.h"
#include "text_decoding.h"

namespace tv::help {
namespace {

// HTML's names for U+00A0-U+00FF, in code point order.
constexpr std::array<std::string_view, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

struct NamedCharacter {
  std::string_view name;
  char32_t code_point;
};

constexpr std::array<NamedCharacter, 17> kOtherNames = {{{"amp", U'&'},
                                                         {"lt", U'<'},
                                                         {"gt", U'>'},
                                                         {"quot", U'"'},
                                                         {"apos", U'\''},
                                                         {"euro", 0x20AC},
                                                         {"hellip", 0x2026},
                                                         {"ndash", 0x2013},
                                                         {"mdash", 0x2014},
                                                         {"lsquo", 0x2018},
                                                         {"rsquo", 0x2019},
                                                         {"ldquo", 0x201C},
                                                         {"rdquo", 0x201D},
                                                         {"bull", 0x2022},
                                                         {"trade", 0x2122},
                                                         {"OElig", 0x0152},
                                                         {"oelig", 0x0153}}};

// The code point of the reference's body (between '&' and ';'), or 0.
char32_t Resolve(std::string_view body) {
  if (body.size() > 1 && body[0] == '#') {
    const bool hex = body[1] == 'x' || body[1] == 'X';
    std::uint32_t value = 0;
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 7) return 0;
    for (const char c : digits) {
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0) return 0;
      value = value * (hex ? 16u : 10u) + static_cast<std::uint32_t>(digit);
    }
    const bool valid = value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
    return valid ? static_cast<char32_t>(value) : 0;
  }
  for (std::size_t i = 0; i < kLatin1Names.size(); ++i) {
    if (kLatin1Names[i] == body) return static_cast<char32_t>(0xA0 + i);
  }
  for (const NamedCharacter& named : kOtherNames) {
    if (named.name == body) return named.code_point;
  }
  return 0;
}

}  // namespace

std::string DecodeEntities(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t amp = text.find('&', at);
    if (amp == std::string_view::npos) break;
    out.append(text.substr(at, amp - at));
    const std::size_t semicolon = text.find(';', amp);
    // Names are short; a ';' further on belongs to something else.
    const char32_t code_point = semicolon != std::string_view::npos && semicolon - amp <= 10
                                    ? Resolve(text.substr(amp + 1, semicolon - amp - 1))
                                    : 0;
    if (code_point != 0) {
      AppendUtf8(out, code_point);
      at = semicolon + 1;
    } else {
      out += '&';
      at = amp + 1;
    }
  }
  out.append(text.substr(std::min(at, text.size())));
  return out;
}

}  // namespace tv::help
