#include <gtest/gtest.h>

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

TEST(PosixEnv, ClockCountsDaysFrom1899) {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  const double now = DefaultEnv().Now();
  // 1 January 2000 is date value 36526.
  const int daysSince2000 = static_cast<int>(now) - 36526;
  EXPECT_NEAR(daysSince2000 / 365.25, local.tm_year - 100 + local.tm_yday / 365.25, 0.01);
  EXPECT_GE(now - static_cast<int>(now), 0.0);
}

}  // namespace
}  // namespace iex
