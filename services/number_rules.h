// The program's rules for turning texts into numbers and back.
//
// Whole-number rule: any number of leading spaces, an optional '+' or '-',
// then decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or
// "0X". Nothing may follow the digits, not even a space. A decimal value must
// lie in the 32-bit signed range; a hexadecimal one must fit in 32 bits and is
// taken as a bit pattern ("$FFFFFFFF" is -1).
//
// Decimal-number rule: optional leading and trailing spaces, an optional sign,
// digits with at most one decimal separator (at least one digit), optionally
// an exponent "E" or "e" with an optional sign and digits. The separator is
// the regional one: a point is refused where the region uses a comma.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tv {

// The whole-number rule; nothing when the text fails it.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);
// The whole-number rule; throws Error "'<text>' no es un valor entero válido".
std::int32_t StrToInt(std::string_view ansiText);

// The decimal separator of the regional settings (LC_NUMERIC of the C
// library); a point when the setting cannot be read as one character.
char RegionalDecimalSeparator();

// The decimal-number rule; nothing when the text fails it or its value is
// beyond the double range.
std::optional<double> ParseDecimalNumber(std::string_view text, char separator);
// The decimal-number rule; throws Error
// "'<text>' no es un valor punto flotante válido".
double StrToFloat(std::string_view ansiText, char separator);

// General format: at most 15 significant digits, no trailing zeros; fixed
// notation unless the value has more than 15 integer digits or is below
// 0.00001, then "1,5E-7" style (no '+', no leading zeros in the exponent).
std::string FormatGeneral(double value, char separator);

// The nearest whole number, halfway values going to the even neighbour.
// Throws Error "'<text>' no es un valor entero válido" (the value in general
// format) outside the 32-bit range.
std::int32_t RoundHalfEven(double value, char separator);

}  // namespace tv
