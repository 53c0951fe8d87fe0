#include <gtest/gtest.h>
#ifndef _WIN32
#include <iconv.h>
#endif

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

#ifndef _WIN32
// Entry by entry against the C library's own table of the code page: each
// assigned byte decodes to the code point iconv gives, and back.
TEST(Codepage1252, EveryByteMatchesTheSystemsTable) {
  iconv_t cd = iconv_open("UTF-32LE", "WINDOWS-1252");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)) << "iconv knows no WINDOWS-1252";
  for (int b = 1; b < 256; ++b) {
    char in = static_cast<char>(b);
    char32_t expected = 0;
    char* from = &in;
    char* to = reinterpret_cast<char*>(&expected);
    std::size_t inLeft = 1, outLeft = sizeof expected;
    const bool assigned = iconv(cd, &from, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (!assigned) {
      // The five bytes the code page leaves unassigned stand for the C1 code
      // point of the same number, as Windows itself decodes them.
      EXPECT_EQ(Cp1252CodePoint(static_cast<unsigned char>(b)), static_cast<char32_t>(b)) << "unassigned byte " << b;
      continue;
    }
    EXPECT_EQ(Cp1252CodePoint(static_cast<unsigned char>(b)), expected) << "byte " << b;
  }
  iconv_close(cd);
}
#endif

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
