#include <gtest/gtest.h>

#include "controls/NumEdit.h"
#include "platform/Error.h"

namespace iex {
namespace {

// As the wizard sets its invoice-number fields.
TNumEdit WizardField() {
  TNumEdit e;
  e.SetLeadZeros(false);
  e.SetAllowBlank(false);
  e.SetIsBlank(false);
  e.SetBlankZero(true);
  return e;
}

std::string Message(const std::function<void()>& f) {
  try {
    f();
  } catch (const EMvError& e) {
    return e.what();
  }
  return "";
}

TEST(NumEdit, WizardSettings) {
  const std::tuple<const char*, int64_t, const char*> cases[] = {
      {"", 0, ""}, {"0", 0, ""}, {"00123", 123, "123"}, {"12-34", 1234, "1234"}, {"abc", 0, ""}, {"-5", -5, "-5"}};
  for (const auto& [typed, value, shown] : cases) {
    TNumEdit e = WizardField();
    e.Box.UserTyped(typed);
    EXPECT_TRUE(e.Exit());
    EXPECT_EQ(e.Value(), value) << typed;
    EXPECT_EQ(e.Box.GetEditText(), shown) << typed;
  }
  TNumEdit e = WizardField();
  e.Box.UserTyped(std::string(20, '9'));
  EXPECT_EQ(Message([&] { e.Exit(); }), "Invalid Number. Please enter again.");
  EXPECT_FALSE(e.CanExit());
  EXPECT_FALSE(TNumEdit::AcceptChar('a'));
  EXPECT_TRUE(TNumEdit::AcceptChar('7'));
  EXPECT_TRUE(TNumEdit::AcceptChar('-'));
  EXPECT_TRUE(TNumEdit::AcceptChar('\b'));
}

TEST(NumEdit, RangesAndTypeRange) {
  TNumEdit e;
  e.SetMin(1);
  e.Box.UserTyped("");
  EXPECT_EQ(e.Value(), 0);  // blank passes
  TNumEdit n;
  n.SetAllowBlank(false);
  n.SetMin(1);
  n.Box.UserTyped("0");
  EXPECT_EQ(Message([&] { n.Value(); }), "Invalid Number.  Number must be greater than 0");
  TNumEdit r;
  r.SetMin(1);
  r.SetMax(99);
  r.Box.UserTyped("100");
  EXPECT_EQ(Message([&] { r.Value(); }), "Invalid Number.  Number must be in range 1 .. 99");
  r.Box.UserTyped("99");
  EXPECT_EQ(r.Value(), 99);
  TNumEdit t;
  t.SetNumType(TMvNumType::mvntInteger);
  t.Box.UserTyped("3000000000");
  EXPECT_EQ(Message([&] { t.Value(); }), "Invalid Number.  Number must be in range -2147483648 .. 2147483647");
  TNumEdit z;
  z.SetMax(9999);
  z.SetLeadZeros(true);
  z.SetValue(42);
  EXPECT_EQ(z.Box.GetEditText(), "0042");
  TNumEdit m;
  m.SetMin(5);
  m.SetValue(7);
  m.SetMax(0);
  EXPECT_EQ(m.Value(), 7);
}

TEST(NumEdit, BlankFlagsAndClear) {
  TNumEdit e;
  e.SetBlankZero(true);
  EXPECT_FALSE(e.AllowBlank());
  e.SetAllowBlank(true);
  EXPECT_FALSE(e.BlankZero());
  int changes = 0;
  e.OnValueChanged = [&](TBaseEdit&) { ++changes; };
  e.Clear();
  EXPECT_EQ(changes, 0);
  e.SetEditText("12");
  EXPECT_EQ(changes, 1);
  e.Clear();
  EXPECT_EQ(e.Value(), 0);
  EXPECT_GE(changes, 2);
}

}  // namespace
}  // namespace iex
