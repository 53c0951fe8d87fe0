#include <gtest/gtest.h>

#include "FakeEnv.h"
#include "controls/DateEdit.h"
#include "platform/Error.h"
#include "util/DateValue.h"

namespace iex {
namespace {

class DateEditTest : public ::testing::Test {
 protected:
  test::FakeEnv env_;  // Wednesday 15 May 2024, M/d/yyyy
  DateOrder order_ = InitDateOrder(env_.settings);
  TMvDateEdit edit_{env_, env_.settings, order_};
  double Leave(const std::string& typed) {
    edit_.Box.UserTyped(typed);
    edit_.Exit();
    return edit_.Date();
  }
};

TEST_F(DateEditTest, TypedDatesAndExpressions) {
  EXPECT_EQ(Leave("5/20/24"), 45432);
  EXPECT_EQ(edit_.Box.GetEditText(), "5/20/2024");
  EXPECT_EQ(Leave("=+1"), EncodeDate(2024, 5, 16));
  EXPECT_EQ(edit_.Box.GetEditText(), "=+1");  // kept: evaluated again at every check
  env_.now += 1;
  EXPECT_EQ(edit_.Date(), EncodeDate(2024, 5, 17));
  edit_.ResolveDateExpr = true;
  EXPECT_EQ(Leave("=+1"), EncodeDate(2024, 5, 17));
  EXPECT_EQ(edit_.Box.GetEditText(), "5/17/2024");
}

TEST_F(DateEditTest, InvalidDatesAndBlanks) {
  edit_.Box.UserTyped("2/30/24");
  try {
    edit_.Exit();
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_STREQ(e.what(), "Invalid Date. Please enter again.");
  }
  EXPECT_FALSE(edit_.CanExit());
  EXPECT_EQ(edit_.Box.GetEditText(), "");
  int changes = 0;
  edit_.OnValueChanged = [&](TBaseEdit&) { ++changes; };
  EXPECT_EQ(Leave(""), 0);
  EXPECT_EQ(changes, 0);
  edit_.AllowBlank = false;
  edit_.Box.UserTyped("");
  EXPECT_EQ(edit_.Date(), 29220);  // the parser's day number 0
  EXPECT_EQ(edit_.Box.GetEditText(), "12/31/1979");
}

TEST_F(DateEditTest, PickingWritesWithoutNotification) {
  int changes = 0;
  edit_.OnValueChanged = [&](TBaseEdit&) { ++changes; };
  edit_.Pick(EncodeDate(2024, 5, 21));
  EXPECT_EQ(edit_.Box.GetEditText(), "5/21/2024");
  edit_.Exit();
  EXPECT_EQ(changes, 0);
  EXPECT_THROW(edit_.SetDefaultDate("nonsense"), EMvError);
  edit_.SetDefaultDate("=1");
  EXPECT_EQ(edit_.Box.GetEditText(), "5/1/2024");
}

TEST_F(DateEditTest, CalendarOpensOnTodayAndMovesByItsKeys) {
  EXPECT_EQ(edit_.CalendarStartDate(), 45427);
  edit_.Box.UserTyped("nonsense");
  EXPECT_THROW(edit_.CalendarStartDate(), EMvError);
  EXPECT_TRUE(edit_.MayOpenCalendar());
  edit_.CalendarClosed();
  EXPECT_FALSE(edit_.MayOpenCalendar());
  env_.now += 0.6 / 86400;
  EXPECT_TRUE(edit_.MayOpenCalendar());
  const double mar31 = EncodeDate(2024, 3, 31), feb29 = EncodeDate(2024, 2, 29);
  using K = TCalendarKey;
  EXPECT_EQ(TMvDateEdit::CalendarMove(mar31, K::PageUp, false, false, false), feb29);
  EXPECT_EQ(TMvDateEdit::CalendarMove(feb29, K::PageDown, true, false, false), EncodeDate(2025, 2, 28));
  EXPECT_EQ(TMvDateEdit::CalendarMove(feb29, K::PageDown, true, true, false), feb29);
  EXPECT_EQ(TMvDateEdit::CalendarMove(mar31, K::Up, false, false, false), mar31 - 7);
  EXPECT_EQ(TMvDateEdit::CalendarMove(mar31, K::Right, true, true, true), mar31 + 1);
  EXPECT_EQ(TMvDateEdit::AddMonths(EncodeDate(2024, 1, 31), -1), EncodeDate(2023, 12, 31));
}

TEST(DateEditDayFirst, FollowsTheRegionalFormat) {
  test::FakeEnv env;
  env.settings = test::DayFirstSettings();
  const DateOrder order = InitDateOrder(env.settings);
  TMvDateEdit edit(env, env.settings, order);
  edit.Box.UserTyped("20.5.24");
  edit.Exit();
  EXPECT_EQ(edit.Date(), 45432);
  EXPECT_EQ(edit.Box.GetEditText(), "20.05.2024");
}

}  // namespace
}  // namespace iex
