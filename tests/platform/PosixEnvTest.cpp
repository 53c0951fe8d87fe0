#include <gtest/gtest.h>

#include <cmath>

#include "util/DateValue.h"

#include <cstdlib>
#include <ctime>

#include "platform/Env.h"

namespace iex {
namespace {

TEST(PosixEnv, CLocaleGivesUsSettings) {
  setenv("LC_ALL", "C", 1);
  const RegionalSettings s = DefaultEnv().Regional();
  EXPECT_EQ(s.shortDateFormat, "M/d/yyyy");
  EXPECT_EQ(s.dateSeparator, '/');
  EXPECT_EQ(s.decimalSeparator, '.');
  EXPECT_EQ(s.shortMonthNames[4], "May");
}

// The clock to the day and the minute: the local date and time of the C
// library, as a date value (days since 30 December 1899).
TEST(PosixEnv, ClockCountsDaysFrom1899) {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  const double now = DefaultEnv().Now();
  const CivilDate d = DecodeDate(now);
  EXPECT_EQ(d.year, local.tm_year + 1900);
  EXPECT_EQ(d.month, local.tm_mon + 1);
  EXPECT_EQ(d.day, local.tm_mday);
  const double minutes = (now - std::floor(now)) * 24 * 60;
  EXPECT_NEAR(minutes, local.tm_hour * 60 + local.tm_min + local.tm_sec / 60.0, 1.5);  // a minute may turn between
}

}  // namespace
}  // namespace iex
