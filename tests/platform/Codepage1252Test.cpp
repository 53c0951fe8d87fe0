#include <gtest/gtest.h>

#include "platform/Codepage1252.h"

namespace iex {
namespace {

TEST(Codepage1252, RoundTripsEveryAssignedByte) {
  for (int b = 1; b < 256; ++b) {
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << b;
  }
}

TEST(Codepage1252, UnmappableAndBrokenInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"), "\x80");      // euro sign
  EXPECT_EQ(Utf8ToCp1252("caf\xC3\xA9"), "caf\xE9");    // e acute
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");         // a CJK character
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80x"), "?x");   // outside the BMP
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");               // cut short
  EXPECT_EQ(Utf8ToCp1252("\xFF"), "?");
}

}  // namespace
}  // namespace iex
