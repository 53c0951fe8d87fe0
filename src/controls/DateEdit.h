#pragma once
#include <cstdint>
#include <string>

#include "controls/NumEdit.h"
#include "platform/Env.h"
#include "util/DateOrder.h"

namespace iex {

// Keys of the drop-down calendar.
enum class TCalendarKey { Enter, Escape, Left, Right, Up, Down, PageUp, PageDown, Other };

// A field for a date: typed in any form the date parser takes, "="
// expressions included, or picked in a drop-down month calendar.
class TMvDateEdit : public TBaseEdit {
 public:
  // The settings are the start-up ones (the short date format widened to four-digit years).
  TMvDateEdit(const Env& env, const RegionalSettings& settings, const DateOrder& order);

  double Date();  // checks the text first; 0 for an empty field
  void SetDate(double x);
  bool AllowBlank = true;
  bool ResolveDateExpr = false;
  std::string DateFormat = "c";
  void SetDefaultDate(const std::string& t);
  bool ReadOnly = false;  // the widget hides its button when set

  void SetEditText(const std::string& text);
  void ValidateEntry() override;
  std::string FormatDate(double date) const;

  // The drop-down: whether a click opens it (not within 0.5 s of its closing),
  // the date it starts on, and the moves of its keys.
  bool MayOpenCalendar() const;
  double CalendarStartDate();  // may raise "Invalid Date. Please enter again."
  void CalendarClosed() { FCalFormCloseDateTime = env_.Now(); }
  void Pick(double calendarDate) { SetDate(calendarDate); }
  static double CalendarMove(double date, TCalendarKey key, bool ctrl, bool shift, bool alt);
  static double AddMonths(double date, int months);

 private:
  const Env& env_;
  RegionalSettings settings_;
  const DateOrder& order_;
  double FDate = 0;
  uint8_t FDateDispFmt = 0;
  double FCalFormCloseDateTime = 0;
};

}  // namespace iex
