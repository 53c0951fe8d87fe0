#include <gtest/gtest.h>

#include "FakeEnv.h"
#include "util/DateParser.h"
#include "util/DayNumbers.h"
#include "platform/Error.h"

namespace iex {
namespace {

constexpr uint16_t kToday = 16207;  // Wednesday 15 May 2024

uint16_t Day(int m, int d, int yy) { return DayNumberOf(FormatDateDigits(m, d, yy)); }

struct Case {
  const char* text;
  uint16_t expected;
};

class DateParserUs : public ::testing::Test {
 protected:
  DateOrder order = InitDateOrder(RegionalSettings{});
  uint16_t Parse(const std::string& t, uint8_t hint = 0) { return ParseDateText(t, hint, order, kToday); }
};

TEST_F(DateParserUs, TypedDates) {
  const uint16_t may20 = 16212;
  ASSERT_EQ(Day(5, 20, 24), may20);
  const Case cases[] = {
      {"5/20/24", may20},      {"5/20/2024", may20},    {"05-20-24", may20},     {"5.20.24", may20},
      {"0520", may20},         {"052024", may20},       {"20MAY24", may20},      {"20 may 2024", may20},
      {"20", may20},           {"5/20", may20},         {"2/29/24", Day(2, 29, 24)},
      {"1/1/1975", Day(1, 1, 75)}, {"1/1/80", 1},        {"12/31/79", kLastDay},  {"0/5/24", Day(5, 5, 24)},
      {"", 0},                 {"   ", 0},              {"20may", may20},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.text), c.expected) << c.text;
}

TEST_F(DateParserUs, InvalidDates) {
  for (const char* text : {"2/30/24", "4/31/24", "2/29/23", "5/0/24", "13/1/24", "123", "12345", "MAY20",
                           "20XYZ24", "5/20/202", "5/-5/24", "-5/20/24", "1/1/-80", "abc"})
    EXPECT_EQ(Parse(text), kInvalidDay) << text;
}

TEST_F(DateParserUs, DayFirstHint) {
  EXPECT_EQ(Parse("20/5/24", 2), 16212);
  EXPECT_EQ(Parse("2005", 2), 16212);
  EXPECT_EQ(Parse("200524", 2), 16212);
  // Dashes and dots follow the format's own order, not the hint.
  EXPECT_EQ(Parse("5-20-24", 2), 16212);
}

TEST_F(DateParserUs, Expressions) {
  const Case cases[] = {
      {"=", kToday},
      {"=+1", Day(5, 16, 24)},
      {"=-7", Day(5, 8, 24)},
      {"=1", Day(5, 1, 24)},
      {"=31", Day(5, 31, 24)},
      {"=1,+1", Day(6, 1, 24)},
      {"=31,+1", Day(6, 30, 24)},
      {"=,,+1", Day(5, 15, 25)},
      {"=15,3", Day(3, 15, 24)},
      {"=1,13", Day(1, 1, 25)},
      {"=1,-5", Day(12, 1, 23)},
      {"=WED", kToday},
      {"=MON", Day(5, 13, 24)},
      {"=MON+1", Day(5, 20, 24)},
      {"=WED+1", Day(5, 22, 24)},
      {"=WED-1", Day(5, 8, 24)},
      {"=FRIDAY", Day(5, 10, 24)},
      {"=X1", Day(5, 1, 24)},
      {"=,+25", Day(6, 15, 26)},
      {"=,,-30", Day(5, 15, 94)},
      {"=,MAR", kToday},
      {"= + 1", Day(5, 16, 24)},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.text), c.expected) << c.text;
}

TEST_F(DateParserUs, ExpressionsOutsideTheRangeAreInvalid) {
  for (const char* text : {"=M", "=MAR", "=1,2,3,4", "=1,25", "=,,+56", "=,,-45", "=1,1,80,", "=-20000",
                           "=+30000", "=WED+9999", "=5-", "=SUN-3000"})
    EXPECT_EQ(Parse(text), kInvalidDay) << text;
}

TEST_F(DateParserUs, HugeNumberPartsRaise) {
  EXPECT_THROW(Parse("=+99999999999"), EMvError);
  EXPECT_THROW(Parse("=" + std::string(25, '9')), EMvError);
}

TEST(DateOrder, ReadsTheFieldOrderOfTheFormat) {
  RegionalSettings us;
  DateOrder o = InitDateOrder(us);
  EXPECT_EQ(o.MonthPos, 1);
  EXPECT_EQ(o.DayPos, 2);
  EXPECT_EQ(o.YearPos, 3);
  o = InitDateOrder(test::DayFirstSettings());
  EXPECT_EQ(o.DayPos, 1);
  EXPECT_EQ(o.MonthPos, 2);
  EXPECT_EQ(o.YearPos, 3);
  RegionalSettings iso;
  iso.shortDateFormat = "yyyy-MM-dd";
  iso.dateSeparator = '-';
  o = InitDateOrder(iso);
  EXPECT_EQ(o.YearPos, 1);
  EXPECT_EQ(o.MonthPos, 2);
  EXPECT_EQ(o.DayPos, 3);
  DoneDateOrder(o);
  EXPECT_TRUE(o.MonthNames.empty());
}

TEST(DateOrder, ExpandsTwoYearLettersOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"M/d/yy", "M/d/yyyy"}, {"dd.MM.YY", "dd.MM.YYYY"}, {"M/d/y", "M/d/y"}, {"M/d/yyyy", "M/d/yyyy"}, {"yyy", "yyy"}};
  for (const auto& [in, out] : cases) {
    RegionalSettings s;
    s.shortDateFormat = in;
    ExpandShortYearFormat(s);
    EXPECT_EQ(s.shortDateFormat, out);
  }
}

TEST(DateParserDayFirst, LocaleMonthNamesAndFieldOrder) {
  const DateOrder order = InitDateOrder(test::DayFirstSettings());
  const uint8_t hint = DateOrderHint("dd.MM.yyyy");
  EXPECT_EQ(hint, 2);
  EXPECT_EQ(ParseDateText("20.5.24", hint, order, kToday), 16212);
  EXPECT_EQ(ParseDateText("20-05-2024", hint, order, kToday), 16212);
  EXPECT_EQ(ParseDateText("20/5/24", hint, order, kToday), 16212);
  EXPECT_EQ(ParseDateText("20mai24", hint, order, kToday), 16212);
  EXPECT_EQ(ParseDateText("1dez24", hint, order, kToday), Day(12, 1, 24));
  EXPECT_EQ(ParseDateText("5.20.24", hint, order, kToday), kInvalidDay);
}

TEST(DateParserLongMonthNames, NamesOfOtherLengthsStillParse) {
  RegionalSettings s;
  s.shortMonthNames = {"janv", "fevr", "mars", "avr", "mai", "juin", "juil", "aout", "sept", "oct", "nov", "dec"};
  const DateOrder order = InitDateOrder(s);
  EXPECT_EQ(ParseDateText("20mai24", 0, order, kToday), 16212);
  EXPECT_EQ(ParseDateText("1sept24", 0, order, kToday), Day(9, 1, 24));
  EXPECT_EQ(ParseDateText("1juil24", 0, order, kToday), Day(7, 1, 24));
  EXPECT_EQ(ParseDateText("1oct24", 0, order, kToday), Day(10, 1, 24));
}

}  // namespace
}  // namespace iex
