#include <gtest/gtest.h>

#include "export/CardFields.h"
#include "export/RevenueTypes.h"
#include "export/ValueFormats.h"
#include "util/DateValue.h"

namespace iex {
namespace {

TEST(ValueFormats, Amounts) {
  const std::pair<int64_t, const char*> cases[] = {{12345, "123.45"}, {12340, "123.4"}, {100000, "1000"},
                                                   {5, "0.05"},         {-250, "-2.5"},   {0, "0"},
                                                   {1, "0.01"},         {100000000, "1000000"}, {-5, "-0.05"}};
  for (const auto& [v, text] : cases) EXPECT_EQ(AmountText(v, '.'), text) << v;
  EXPECT_EQ(AmountText(1050, ','), "10,5");
}

TEST(ValueFormats, DatesAndTimes) {
  const double d = EncodeDate(2014, 3, 7);
  EXPECT_EQ(DateText(d, '/'), "03/07/2014");
  EXPECT_EQ(DateText(d + 0.99, '.'), "03.07.2014");
  EXPECT_EQ(DateText(0, '/'), "");
  EXPECT_EQ(DateText(-3, '/'), "");
  EXPECT_EQ(DateText(0.5, '/'), "");  // whole-day part below 1
  EXPECT_EQ(DateAlwaysText(0, '/'), "12/30/1899");
  const std::pair<double, const char*> times[] = {{9 + 5 / 60.0, "0905A"}, {12.5, "1230P"}, {0.25, "1215A"},
                                                  {23 + 59 / 60.0, "1159P"}, {14 + 5 / 60.0, "0205P"}, {12, "1200P"}};
  for (const auto& [hours, text] : times) EXPECT_EQ(TimeText(d + hours / 24.0), text) << hours;
  EXPECT_EQ(TimeText(d), "");
  EXPECT_EQ(TimeText(0), "");
}

TEST(ValueFormats, TextHelpers) {
  EXPECT_EQ(PadZeros("7", 4), "0007");
  EXPECT_EQ(PadZeros("12345", 4), "12345");
  EXPECT_EQ(PadZeros("1", 3), "001");
  EXPECT_EQ(MaxChars("abcdef", 3), "abc");
  EXPECT_EQ(MaxChars("abc", 3), "abc");
  EXPECT_EQ(CleanPhone("+1 212 555 0100"), "212 555 0100");
  EXPECT_EQ(CleanPhone("() 555-0100"), "555-0100");
  EXPECT_EQ(CleanPhone("+1 (212) 555-0100"), "(212) 555-0100");
  EXPECT_EQ(CleanPhone("\t 555 +49 "), "555 49");
  EXPECT_EQ(CleanPhone("+41 22 555 01 00"), "41 22 555 01 00");
  EXPECT_EQ(CleanPhone("+12125550100"), "2125550100");
  EXPECT_EQ(CleanPhone("+"), "");
  EXPECT_EQ(GetFirstWord("Sunrise Travel Inc"), "Sunrise");
  EXPECT_EQ(GetFirstWord("Smith"), "");
  EXPECT_EQ(GetFirstWord("Intercontinental Tours"), "Intercontinen");
  EXPECT_EQ(GetFirstWord("  "), "");
}

TEST(RevenueTypes, DefaultsCategoryLettersAndTravelTypeRows) {
  EXPECT_EQ(GetDefaultRevenueType(9), "M");
  EXPECT_EQ(GetDefaultRevenueType(7), "O");
  EXPECT_EQ(GetDefaultRevenueType(10), "O");
  EXPECT_EQ(GetDefaultRevenueType(0), "O");
  EXPECT_EQ(GetDefaultRevenueType(11), "O");
  ExportSettings s;
  s.CategoryLetters[1] = "a";
  EXPECT_EQ(GetCategoryRevenueType(s, 1), "a");
  EXPECT_EQ(GetCategoryRevenueType(s, 0), "O");
  s.TravelTypeLetters[1] = {1, "a"};
  s.TravelTypeLetters[21] = {22, "xy"};  // row 21 shows travel type 22
  s.TravelTypeLetters[22] = {23, "C"};
  EXPECT_EQ(GetTravelTypeRevenueType(s, 1), "A");
  EXPECT_EQ(GetTravelTypeRevenueType(s, 22), "XY");
  EXPECT_EQ(GetTravelTypeRevenueType(s, 21), "");
  EXPECT_EQ(GetTravelTypeRevenueType(s, 0), "");
  EXPECT_EQ(GetTravelTypeRevenueType(s, 60), "");
}

TEST(CardFields, SplitsPaymentTexts) {
  const TStringIntList lookup = {{"VI", 40}, {"MC", 55}, {"", 14}, {"XX", 14}};
  struct Case {
    const char* text;
    int method;
    TPaymentFields expected;
  } cases[] = {
      {"vi 40001234/0316", 5, {"vi", "40001234", "03/16", ""}},
      {"5500 1234 5678 9012", 3, {"MC", "5500 1234 5678 9012", "", ""}},
      {"V1 4000/0316", 6, {"", "V1 4000", "03/16", ""}},
      {"4000 12-34/0915", 7, {"VI", "4000 12-34", "09/15", ""}},
      {"MC 5555/12/15", 7, {"MC", "5555", "12//1", ""}},
      {"1234/", 3, {"", "1234", "/", ""}},
      {"1234", 1, {"", "", "", "1234"}},
      {"004512", 2, {"", "", "", "004512"}},
      {"anything", 4, {}},
      {"anything", 0, {}},
      {"", 3, {}},
      {"", 1, {}},
      {"ZZ 9999", 3, {"ZZ", "9999", "", ""}},
  };
  for (const auto& c : cases) {
    const TPaymentFields f = PaymentFields(c.text, c.method, lookup);
    EXPECT_EQ(f.cardType, c.expected.cardType) << c.text;
    EXPECT_EQ(f.cardNumber, c.expected.cardNumber) << c.text;
    EXPECT_EQ(f.cardExpiry, c.expected.cardExpiry) << c.text;
    EXPECT_EQ(f.reference, c.expected.reference) << c.text;
  }
  EXPECT_EQ(ExtractCardDigits("4000 12-34/0915"), "40001234");
  EXPECT_EQ(ExtractCardDigits("XX 4000/0915"), "4000");
  EXPECT_EQ(ExtractCardDigits("none"), "");
  EXPECT_EQ(LookupCardTypeCode("4", {{"FOUR", 4}}), "FOUR");
  EXPECT_EQ(LookupCardTypeCode("", lookup), "");
}

}  // namespace
}  // namespace iex
