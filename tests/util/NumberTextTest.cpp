#include <gtest/gtest.h>

#include "platform/Error.h"
#include "util/FillTemplate.h"
#include "util/NumberText.h"

namespace iex {
namespace {

struct NumberCase {
  const char* text;
  uint8_t base;
  int64_t value;
};

TEST(TextToNumber, ScansDigitsAndSkipsTheRest) {
  const NumberCase cases[] = {
      {"1,234", 10, 1234}, {"12.5", 10, 125}, {"abc", 10, 0},   {"", 10, 0},
      {"-42", 10, -42},    {"42-", 10, -42},  {"4-2", 10, 42},  {"ff", 16, 0},
      {"FF", 16, 255},     {"1A", 10, 1},     {"  7 ", 10, 7},  {"9223372036854775807", 10, INT64_MAX},
      {"101", 2, 5},       {"-", 10, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToNumber(c.text, c.base), c.value) << c.text;
}

TEST(TextToNumber, OverflowNamesTheText) {
  const std::string nines(19, '9');
  try {
    TextToNumber(nines, 10);
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_EQ(std::string(e.what()), "Numeric Overflow: " + nines);
  }
  EXPECT_THROW(TextToNumber("9223372036854775808", 10), EMvError);
}

TEST(TextToNumber, LongTextScansOnlyLengthMod256) {
  // 300 characters: only the first 44 count.
  EXPECT_THROW(TextToNumber(std::string(44, '1') + std::string(256, '0'), 10), EMvError);  // 44 ones overflow
  std::string small = "12" + std::string(42, 'x') + std::string(256, '9');
  EXPECT_EQ(TextToNumber(small, 10), 12);
}

TEST(TextToInt, LimitsAreSymmetric) {
  EXPECT_EQ(TextToInt("2147483647"), 2147483647);
  EXPECT_EQ(TextToInt("-2147483647"), -2147483647);
  try {
    TextToInt("-2147483648");
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_STREQ(e.what(), "Invalid Integer Format: -2147483648");
  }
}

TEST(CompToText, PlainUpTo15DigitsThenExponent) {
  EXPECT_EQ(CompToText(0), "0");
  EXPECT_EQ(CompToText(-42), "-42");
  EXPECT_EQ(CompToText(999999999999999), "999999999999999");
  EXPECT_EQ(CompToText(1000000000000000), "1E15");
  EXPECT_EQ(CompToText(1234567890123456789), "1.23456789012346E18");
  EXPECT_EQ(CompToText(-1000000000000000), "-1E15");
}

TEST(IntToBaseText, ZeroIsEmptyAndPadsToZeros) {
  EXPECT_EQ(IntToText(0), "");
  EXPECT_EQ(ZeroPad(IntToText(0), 2), "00");
  EXPECT_EQ(IntToText(-305), "-305");
  EXPECT_EQ(IntToBaseText(255, 16), "FF");
  EXPECT_EQ(IntToBaseText(INT32_MIN + 1, 10), "-2147483647");
}

TEST(ZeroPad, PadsCutsAndKeepsTheSignInPlace) {
  EXPECT_EQ(ZeroPad("12345", 3), "345");
  EXPECT_EQ(ZeroPad("-5", 4), "00-5");
  EXPECT_EQ(ZeroPad("", 0), "0");
  EXPECT_EQ(ZeroPad("7", 0), "7");
  EXPECT_EQ(RepeatChar('x', 256), "");
}

TEST(StringHelpers, TrimRemoveAndLetters) {
  EXPECT_EQ(TrimBlanks(" \r a\tb \r"), "a\tb");
  EXPECT_EQ(TrimBlanks("\ta "), "\ta");
  EXPECT_EQ(RemoveSpaces(" 2 0 may "), "20may");
  EXPECT_TRUE(ContainsLetter("12A"));
  EXPECT_FALSE(ContainsLetter("12a"));
  EXPECT_EQ(UpperAscii("ab\xE4z"), "AB\xE4Z");
}

TEST(FillTemplate, PlaceholdersAndPercentSigns) {
  struct Case {
    const char* templ;
    const char* values;
    const char* expected;
  } cases[] = {
      {"Invalid Number.  Number must be in range %1 .. %2", "1\t99", "Invalid Number.  Number must be in range 1 .. 99"},
      {"100%", "a\tb", "100%"},
      {"%%1", "x", "%1"},
      {"[%3]", "a\tb", "[]"},
      {"%12%1", "a\tb\tc\td\te\tf\tg\th\ti\tj\tk\tl", "la"},
      {"%a%", "x", "%a%"},
      {"%0", "x", "%0"},
      {"%99999999999999999999", "x", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FillTemplate(c.templ, c.values), c.expected) << c.templ;
}

}  // namespace
}  // namespace iex
