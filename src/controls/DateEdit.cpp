#include "controls/DateEdit.h"

#include <cmath>

#include "controls/DateFormat.h"
#include "platform/Error.h"
#include "util/DateParser.h"
#include "util/DateValue.h"
#include "util/DayNumbers.h"

namespace iex {

namespace {
constexpr const char* kInvalid = "Invalid Date. Please enter again.";
}

TMvDateEdit::TMvDateEdit(const Env& env, const RegionalSettings& settings, const DateOrder& order)
    : env_(env), settings_(settings), order_(order), FDateDispFmt(DateOrderHint(settings.shortDateFormat)) {}

std::string TMvDateEdit::FormatDate(double date) const {
  const std::string pattern = DateFormat == "c" ? settings_.shortDateFormat : DateFormat;
  return FormatDateValue(date, pattern, settings_.dateSeparator, settings_.shortMonthNames.data());
}

void TMvDateEdit::SetEditText(const std::string& text) {
  try {
    if (AllowBlank && text.empty()) {
      FDate = 0;
      Box.SetBoxText("");
      return;
    }
    const uint16_t n = ParseDateText(text, FDateDispFmt, order_, TodayDayNumber(env_));
    if (n == kInvalidDay) throw EMvError(kInvalid);
    FDate = n + kDayNumberBase;
    if (ResolveDateExpr || text.empty() || text[0] != '=')
      Box.SetBoxText(FormatDate(FDate));
    else
      Box.SetBoxText(text);
  } catch (...) {
    FDate = 0;
    Box.SetBoxText("");
    throw;
  }
}

void TMvDateEdit::ValidateEntry() {
  const double old = FDate;
  try {
    if (AllowBlank && Box.GetEditText().empty())
      FDate = 0;
    else
      SetEditText(Box.GetEditText());
    if (FDate != old) RaiseValueChanged();
  } catch (...) {
    FDate = 0;
    throw EMvError(kInvalid);
  }
}

double TMvDateEdit::Date() {
  ValidateEntry();
  return FDate;
}

void TMvDateEdit::SetDate(double x) {
  try {
    FDate = std::trunc(x);
    Box.SetBoxText(FDate == 0 && AllowBlank ? std::string() : FormatDate(FDate));
  } catch (...) {
    FDate = 0;
    Box.SetBoxText("");
  }
}

void TMvDateEdit::SetDefaultDate(const std::string& t) {
  const bool saved = ResolveDateExpr;
  ResolveDateExpr = true;
  try {
    SetEditText(t);
  } catch (...) {
    ResolveDateExpr = saved;
    throw EMvError(kInvalid);
  }
  ResolveDateExpr = saved;
}

bool TMvDateEdit::MayOpenCalendar() const { return env_.Now() - FCalFormCloseDateTime > 0.5 / 86400.0; }

double TMvDateEdit::CalendarStartDate() {
  if (Box.GetEditText().empty()) return std::floor(env_.Now());
  return std::trunc(Date());
}

double TMvDateEdit::AddMonths(double date, int months) {
  const CivilDate d = DecodeDate(date);
  const int total = d.year * 12 + (d.month - 1) + months;
  const int year = total / 12;
  const int month = total % 12 + 1;
  static const int kLength[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int length = month == 2 && leap ? 29 : kLength[month];
  return EncodeDate(year, month, d.day > length ? length : d.day);
}

double TMvDateEdit::CalendarMove(double date, TCalendarKey key, bool ctrl, bool shift, bool alt) {
  switch (key) {
    case TCalendarKey::Left: return date - 1;
    case TCalendarKey::Right: return date + 1;
    case TCalendarKey::Up: return date - 7;
    case TCalendarKey::Down: return date + 7;
    case TCalendarKey::PageUp:
    case TCalendarKey::PageDown: {
      const int sign = key == TCalendarKey::PageUp ? -1 : 1;
      if (!ctrl && !shift && !alt) return AddMonths(date, sign);
      if (ctrl && !shift && !alt) return AddMonths(date, 12 * sign);
      return date;
    }
    default: return date;
  }
}

}  // namespace iex
