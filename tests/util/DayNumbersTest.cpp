#include <gtest/gtest.h>

#include "FakeEnv.h"
#include "util/DayNumbers.h"

namespace iex {
namespace {

TEST(DayNumbers, EveryDayOfTheWindowRoundTrips) {
  for (int n = 1; n <= kLastDay; ++n) {
    const std::string t = DayNumberToText(static_cast<uint16_t>(n));
    ASSERT_EQ(t.size(), 6u);
    ASSERT_EQ(DayNumberOf(t), n) << t;
  }
}

TEST(DayNumbers, KnownDays) {
  EXPECT_EQ(DayNumberOf("010180"), 1);
  EXPECT_EQ(DayNumberOf("051524"), 16207);
  EXPECT_EQ(DayNumberOf("123179"), kLastDay);
  EXPECT_EQ(DayNumberOf("023023"), DayNumberOf("022823"));  // lowered to the last day
  EXPECT_EQ(DayNumberOf("003024"), 0);
  EXPECT_EQ(DayNumberOf("133024"), 0);
  EXPECT_EQ(DayNumberOf(""), 0);
  EXPECT_EQ(DayNumberToText(0), "");
  EXPECT_EQ(DayNumberToText(16207), "051524");
  const DateOrder order = InitDateOrder(RegionalSettings{});
  EXPECT_EQ(DayNumberToText(16207, 1, order), "15MAY24");
  EXPECT_EQ(DayNumberToText(16207, 2, order), "150524");
}

TEST(DayNumbers, TodayFromTheClock) {
  test::FakeEnv env;
  EXPECT_EQ(TodayDayNumber(env), 16207);
  env.now = 45427.0;
  EXPECT_EQ(TodayDayNumber(env), 16207);
  EXPECT_EQ(FormatDateDigits(5, 20, 2024), "052024");
}

}  // namespace
}  // namespace iex
