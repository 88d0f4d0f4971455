#include "number_rules.h"

#include <locale.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "code_page.h"
#include "error.h"

namespace tv {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::optional<std::int32_t> ParseHex(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    const int v = HexValue(c);
    if (v < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(v);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  auto bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

std::optional<std::int32_t> ParseDecimal(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

}  // namespace

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  text.remove_prefix(i);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (StartsWith(text, prefix)) return ParseHex(text.substr(prefix.size()), negative);
  }
  return ParseDecimal(text, negative);
}

std::int32_t StrToInt(std::string_view ansiText) {
  if (const auto value = ParseWholeNumber(ansiText)) return *value;
  throw Error(Format("'%s' no es un valor entero válido", {AnsiToUtf8(ansiText)}));
}

char RegionalDecimalSeparator() {
  const lconv* conv = std::localeconv();
  if (conv && conv->decimal_point && conv->decimal_point[0] != '\0' &&
      conv->decimal_point[1] == '\0') {
    return conv->decimal_point[0];
  }
  return '.';
}

std::optional<double> ParseDecimalNumber(std::string_view text, char separator) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  // The number with a point, for std::from_chars, which rounds correctly
  // as strtod does but needs no locale and no copy on the heap.
  char buffer[64];
  std::string longer;
  char* plain = buffer;
  if (end - begin > sizeof buffer) {
    longer.resize(end - begin);
    plain = longer.data();
  }
  std::size_t size = 0;
  std::size_t i = begin;
  const bool negative = i < end && text[i] == '-';
  if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
  int digits = 0;
  bool separatorSeen = false;
  for (; i < end; ++i) {
    if (IsDigit(text[i])) {
      plain[size++] = text[i];
      ++digits;
    } else if (text[i] == separator && !separatorSeen) {
      plain[size++] = '.';
      separatorSeen = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < end && (text[i] == 'E' || text[i] == 'e')) {
    plain[size++] = 'e';
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) plain[size++] = text[i++];
    const std::size_t expDigits = i;
    while (i < end && IsDigit(text[i])) plain[size++] = text[i++];
    if (i == expDigits) return std::nullopt;
  }
  if (i != end) return std::nullopt;
  double value = 0;
  const auto [stop, error] = std::from_chars(plain, plain + size, value);
  if (error == std::errc::result_out_of_range) {
    // Beyond the range of a double: too large is no number; too small is the
    // C library's nearest value.
    const std::string number(plain, size);
    value = strtod_l(number.c_str(), nullptr, CLocale());
  }
  if (stop != plain + size || std::isinf(value)) return std::nullopt;
  return negative ? -value : value;
}

double StrToFloat(std::string_view ansiText, char separator) {
  if (const auto value = ParseDecimalNumber(ansiText, separator)) return *value;
  throw Error(Format("'%s' no es un valor punto flotante válido", {AnsiToUtf8(ansiText)}));
}

std::string FormatGeneral(double value, char separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  char buffer[40];
  // d.dddddddddddddde±x: fifteen significant digits, correctly rounded.
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
  std::string digits;
  const char* p = buffer;
  for (; *p != 'e'; ++p) {
    if (IsDigit(*p)) digits += *p;
  }
  const int exponent = std::atoi(p + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = value < 0 ? "-" : "";
  const std::string sep(1, separator);
  if (exponent + 1 > 15 || std::fabs(value) < 0.00001) {
    out += digits[0];
    if (digits.size() > 1) out += sep + digits.substr(1);
    out += 'E';
    if (exponent < 0) out += '-';
    out += std::to_string(std::abs(exponent));
  } else if (exponent >= 0) {
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
      out += digits + std::string(integerDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, integerDigits) + sep + digits.substr(integerDigits);
    }
  } else {
    out += "0" + sep + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  return out;
}

std::int32_t RoundHalfEven(double value, char separator) {
  const double rounded = std::nearbyint(value);  // the default rounding mode is to nearest even
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
    throw Error(Format("'%s' no es un valor entero válido", {FormatGeneral(value, separator)}));
  }
  return static_cast<std::int32_t>(rounded);
}

}  // namespace tv
