#include "number_rules.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "test_support.h"

namespace tv {
namespace {

TEST(NumberRulesTest, WholeNumberRuleAcceptsDecimalAndHexadecimal) {
  const std::pair<const char*, std::int32_t> good[] = {
      {"12", 12},
      {"  12", 12},
      {"+12", 12},
      {"-0012", -12},
      {"$1F", 31},
      {"0x1f", 31},
      {"0X1F", 31},
      {"x1f", 31},
      {"X1F", 31},
      {"-$1F", -31},
      {"$FFFFFFFF", -1},
      {"$000000001", 1},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"$80000000", INT32_MIN},
      {"0", 0},
      {"-0", 0},
  };
  for (const auto& [text, value] : good) {
    const auto parsed = ParseWholeNumber(text);
    ASSERT_TRUE(parsed) << text;
    EXPECT_EQ(*parsed, value) << text;
  }
  const char* bad[] = {
      "",    " ",          "12a", "12 ", "-",   "+",   "2147483648", "-2147483649", "$",   "0x",
      "$1G", "$100000000", "1.5", "1,5", "--1", "+-1", "\t12",       "1e3",         "0x-1"};
  for (const char* text : bad) EXPECT_FALSE(ParseWholeNumber(text)) << text;
}

TEST(NumberRulesTest, WholeNumberFailureNamesTheText) {
  EXPECT_THROW_MSG(StrToInt("12a"), "'12a' no es un valor entero válido");
  EXPECT_THROW_MSG(StrToInt(test::Ansi("ñ")), "'ñ' no es un valor entero válido");
  EXPECT_EQ(StrToInt("$1F"), 31);
}

TEST(NumberRulesTest, DecimalNumberRuleFollowsTheSeparator) {
  struct Case {
    const char* text;
    char separator;
    std::optional<double> value;
  };
  const std::string long25 = "0," + std::string(80, '0') + "25E82";
  const Case cases[] = {
      {"2,5", ',', 2.5},
      {" 2,5 ", ',', 2.5},
      {"-2,5", ',', -2.5},
      {"+3", ',', 3.0},
      {",5", ',', 0.5},
      {"5,", ',', 5.0},
      {"1,5E2", ',', 150.0},
      {"1e-2", ',', 0.01},
      {"1E+2", ',', 100.0},
      {"2.5", '.', 2.5},
      {"0", ',', 0.0},
      {"2.5", ',', std::nullopt},  // a point where the region uses a comma
      {"2,5", '.', std::nullopt},
      {"", ',', std::nullopt},
      {" ", ',', std::nullopt},
      {",", ',', std::nullopt},
      {"1,2,3", ',', std::nullopt},
      {"1E", ',', std::nullopt},
      {"E5", ',', std::nullopt},
      {"1 2", ',', std::nullopt},
      {"abc", ',', std::nullopt},
      {"1e400", ',', std::nullopt},
      {"1e-400", ',', 0.0},                           // below the smallest double
      {"4,9E-324", ',', 4.9e-324},                    // the smallest, not normalised
      {"9007199254740993", ',', 9007199254740992.0},  // correctly rounded
      {"0,1", ',', 0.1},
      {long25.c_str(), ',', 25.0},  // longer than any buffer
      {"--1", ',', std::nullopt},
      {"\t1", ',', std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDecimalNumber(c.text, c.separator), c.value)
        << c.text << " with " << c.separator;
  }
  EXPECT_THROW_MSG(StrToFloat("", ','), "'' no es un valor punto flotante válido");
  EXPECT_THROW_MSG(StrToFloat("2.5", ','), "'2.5' no es un valor punto flotante válido");
}

TEST(NumberRulesTest, GeneralFormatHasFifteenDigitsAndNoTrailingZeros) {
  const std::pair<double, const char*> cases[] = {
      {2.5, "2,5"},
      {3.0, "3"},
      {-2.5, "-2,5"},
      {0.0, "0"},
      {0.1, "0,1"},
      {1.0 / 3, "0,333333333333333"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1,23456789012346E15"},
      {1e20, "1E20"},
      {0.00001, "0,00001"},
      {0.000001, "1E-6"},
      {1.5e-7, "1,5E-7"},
      {0.1f, "0,100000001490116"},
      {100.0, "100"},
      {-0.000015, "-0,000015"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatGeneral(value, ','), text) << value;
  EXPECT_EQ(FormatGeneral(2.5, '.'), "2.5");
}

TEST(NumberRulesTest, RoundingGoesHalfToEven) {
  const std::pair<double, std::int32_t> cases[] = {{2.5, 2},    {3.5, 4},    {-2.5, -2},
                                                   {2.4999, 2}, {2.5001, 3}, {0.5, 0}};
  for (const auto& [value, whole] : cases) EXPECT_EQ(RoundHalfEven(value, ','), whole) << value;
  EXPECT_THROW_MSG(RoundHalfEven(3e9, ','), "'3000000000' no es un valor entero válido");
}

TEST(NumberRulesTest, RegionalSeparatorComesFromTheLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  ASSERT_TRUE(std::setlocale(LC_NUMERIC, "es_ES.UTF-8"))
      << "the es_ES.UTF-8 locale must be installed";
  EXPECT_EQ(RegionalDecimalSeparator(), ',');
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(RegionalDecimalSeparator(), '.');
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace tv
