#include <gtest/gtest.h>

#include "FakeEnv.h"
#include "app/DateOptions.h"
#include "util/DateValue.h"
#include "util/DayNumbers.h"

namespace iex {
namespace {

// Dates of scheduled runs: ISO under any locale, the regional form read as
// the window reads it, and a warning wherever the reading may not be what
// was meant.
TEST(DateOptions, IsoRegionalAndWarnedReadings) {
  const TDateFormats us = StartDateFormats(RegionalSettings{});
  const TDateFormats german = StartDateFormats(test::DayFirstSettings());
  const uint16_t today = static_cast<uint16_t>(EncodeDate(2026, 12, 10) - kDayNumberBase);
  struct Case {
    const char* text;
    const TDateFormats& formats;
    double value;           // 0: none; -1: refused
    const char* warning;    // a part of it, or ""
  } cases[] = {
      {"2026-12-09", us, EncodeDate(2026, 12, 9), ""},
      {"2026-12-09", german, EncodeDate(2026, 12, 9), ""},
      {"2026-02-30", us, -1, ""},
      {"1975-01-01", us, -1, ""},
      {"12/9/2026", us, EncodeDate(2026, 12, 9), ""},
      {"09.12.2026", german, EncodeDate(2026, 12, 9), ""},
      // Under LANG=C a German date reads month first: said, with the reading.
      {"05.03.2024", us, EncodeDate(2024, 5, 3), "2024-05-03 (3 May 2024); give an ISO date"},
      {"13.03.2024", us, -1, ""},
      {"1/1/1975", us, EncodeDate(2075, 1, 1), "1/1/1975 is read as 2075-01-01 (1 January 2075): dates run from 1980 to 2079."},
      {"=0", us, EncodeDate(2026, 12, 10), ""},
      {"", us, 0, ""},
  };
  for (const Case& c : cases) {
    const TDateOption d = ReadDateOption(c.text, c.formats, today);
    if (c.value < 0) {
      EXPECT_FALSE(d.valid) << c.text;
      continue;
    }
    EXPECT_TRUE(d.valid) << c.text;
    EXPECT_EQ(d.value.value_or(0), c.value) << c.text;
    if (*c.warning)
      EXPECT_NE(d.warning.find(c.warning), std::string::npos) << c.text << ": " << d.warning;
    else
      EXPECT_EQ(d.warning, "") << c.text;
  }
  EXPECT_EQ(IssueDateRangeText(EncodeDate(2024, 3, 5), std::nullopt), "Invoices issued from 2024-03-05 (5 March 2024) on.");
}

}  // namespace
}  // namespace iex
