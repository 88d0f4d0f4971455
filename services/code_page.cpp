#include "code_page.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

#include "error.h"

namespace tv {
namespace {

std::string IconvName(int number) {
  return number == 1252 ? "WINDOWS-1252" : "CP" + std::to_string(number);
}

// Decodes one UTF-8 sequence at text[i]; returns its character and advances i,
// or returns -1 for a malformed sequence and advances i past one byte.
std::int64_t DecodeUtf8(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  int length = lead < 0x80           ? 1
               : (lead >> 5) == 0x6  ? 2
               : (lead >> 4) == 0xE  ? 3
               : (lead >> 3) == 0x1E ? 4
                                     : 0;
  if (length == 0 || i + length > text.size()) {
    ++i;
    return -1;
  }
  char32_t c = length == 1 ? lead : lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return -1;
    }
    c = (c << 6) | (next & 0x3F);
  }
  i += length;
  return c;
}

}  // namespace

CodePage::CodePage(int number) : number_(number) {
  iconv_t cd = iconv_open("UTF-32LE", IconvName(number).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw Error(Format("La página de códigos %s no está disponible", {std::to_string(number)}));
  }
  std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);
  for (int b = 0; b < 256; ++b) {
    char in = static_cast<char>(b);
    unsigned char out[8] = {};
    char* src = &in;
    char* dst = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const std::size_t r = iconv(cd, &src, &inLeft, &dst, &outLeft);
    if (r == static_cast<std::size_t>(-1) && errno == EINVAL) {
      throw Error(Format("La página de códigos %s no es de un byte por carácter",
                         {std::to_string(number)}));
    }
    const bool defined = r != static_cast<std::size_t>(-1) && sizeof out - outLeft == 4;
    toUnicode_[b] = defined
                        ? static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24)
                        : static_cast<char32_t>(b);
  }
  // The lowest byte wins where two bytes give the same character.
  for (int b = 255; b >= 0; --b) fromUnicode_[toUnicode_[b]] = static_cast<unsigned char>(b);
}

const CodePage& CodePage::Get(int number) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<CodePage>> pages;
  std::lock_guard lock(mutex);
  auto& page = pages[number];
  if (!page) page.reset(new CodePage(number));
  return *page;
}

const CodePage& CodePage::Ansi() {
  static const CodePage& ansi = Get(1252);
  return ansi;
}

int CodePage::FromUnicode(char32_t character) const {
  const auto it = fromUnicode_.find(character);
  return it == fromUnicode_.end() ? -1 : it->second;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string AnsiToUtf8(std::string_view ansi) {
  const CodePage& page = CodePage::Ansi();
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 8);
  for (const char ch : ansi) AppendUtf8(out, page.ToUnicode(static_cast<unsigned char>(ch)));
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  const CodePage& page = CodePage::Ansi();
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    // ASCII is the same in both: a run of it is copied whole.
    const std::size_t ascii = i;
    while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
    out.append(utf8.data() + ascii, i - ascii);
    if (i == utf8.size()) break;
    const std::int64_t c = DecodeUtf8(utf8, i);
    const int byte = c < 0 ? -1 : page.FromUnicode(static_cast<char32_t>(c));
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

Recoder::Recoder(const CodePage& from, const CodePage& to) {
  for (int b = 0; b < 256; ++b) {
    const int mapped =
        &from == &to ? b : to.FromUnicode(from.ToUnicode(static_cast<unsigned char>(b)));
    table_[b] = static_cast<unsigned char>(mapped < 0 ? '?' : mapped);
    identity_ = identity_ && table_[b] == b;
  }
}

std::string Recoder::operator()(std::string_view text) const {
  std::string out(text);
  if (!identity_) {
    for (char& ch : out) ch = static_cast<char>(table_[static_cast<unsigned char>(ch)]);
  }
  return out;
}

}  // namespace tv
