#include "util/DateParser.h"

#include <cstdint>

#include "util/DayNumbers.h"
#include "util/NumberText.h"
#include "util/ParseStr.h"

namespace iex {
namespace {

constexpr const char* kWeekdays[7] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }

struct Today {
  int day, month, year;  // year as two digits
};

Today SplitToday(uint16_t today) {
  const std::string t = DayNumberToText(today);
  return {TextToInt(t.substr(2, 2)), TextToInt(t.substr(0, 2)), TextToInt(t.substr(4, 2))};
}

uint16_t Checked(int64_t n) {
  return (n >= 1 && n <= kLastDay) ? static_cast<uint16_t>(n) : kInvalidDay;
}

uint16_t WeekdayExpression(std::string f1, uint16_t today) {
  std::size_t p = f1.find('+');
  if (p == std::string::npos) p = f1.find('-');
  int64_t weeks = 0;
  if (p != std::string::npos) {
    weeks = TextToInt(f1.substr(p));
    f1 = f1.substr(0, p);
  }
  if (f1.size() > 3) f1 = f1.substr(0, 3);
  if (f1.size() < 2) return kInvalidDay;
  int wd = 0;
  for (int i = 0; i < 7 && wd == 0; ++i)
    if (std::string(kWeekdays[i]).compare(0, f1.size(), f1) == 0) wd = i + 1;
  if (wd == 0) return kInvalidDay;
  const int td = (today % 7 + 2) % 7;  // 0 Saturday, 1 Sunday ... 6 Friday
  int delta = 0;
  if (td > wd)
    delta = 7 - (td - wd);
  else if (td < wd)
    delta = wd - td;
  else
    weeks += 1;
  return Checked(int64_t{today} + delta + 7 * (weeks - 1));
}

// Day, month and year parts counted from today. Years are reckoned in full
// (1980 to 2079) so that no result wraps around the two-digit window.
uint16_t PartsExpression(const ParseStr& fields, uint16_t today) {
  const Today now = SplitToday(today);
  int64_t absolute[3] = {0, 0, 0};
  int64_t offset[3] = {0, 0, 0};
  for (uint16_t i = 0; i < 3; ++i) {
    const std::string part = UpperAscii(TrimBlanks(fields.GetField(static_cast<uint16_t>(i + 1))));
    if (part.empty()) continue;
    if (part[0] == '+' || part[0] == '-')
      offset[i] = TextToInt(part);
    else if (!(i == 1 && IsLetter(part[0])))
      absolute[i] = TextToInt(part);
  }
  for (int64_t a : absolute)
    if (a < 0) return kInvalidDay;  // a trailing minus names no date
  int64_t day = absolute[0] ? absolute[0] : now.day;
  int64_t month = absolute[1] ? absolute[1] : now.month;
  const int64_t yy = absolute[2] ? absolute[2] % 100 : now.year;
  int64_t year = (yy >= 80 ? 1900 : 2000) + yy + offset[2];

  int64_t monthOffset = offset[1];
  if (monthOffset > 12 || monthOffset < -12) {
    year += monthOffset / 12;
    monthOffset %= 12;
  }
  month += monthOffset;
  if (month > 12) {
    month -= 12;
    year += 1;
  } else if (month < 1) {
    month += 12;
    year -= 1;
  }
  if (month < 1 || month > 12 || year < 1980 || year > 2079) return kInvalidDay;
  const int twoDigitYear = static_cast<int>(year % 100);
  if (day > 28) {
    if (day > 31) day = 31;
    const int length = DaysInMonth(static_cast<int>(month), twoDigitYear);
    if (day > length) day = length;
  }
  const uint16_t base = DayNumberOf(FormatDateDigits(static_cast<int>(month), static_cast<int>(day), twoDigitYear));
  if (base == 0) return kInvalidDay;
  return Checked(int64_t{base} + offset[0]);
}

}  // namespace

uint8_t DateOrderHint(const std::string& shortDateFormat) {
  if (shortDateFormat.empty()) return 0;
  const char c = UpperAscii(shortDateFormat[0]);
  return c == 'D' ? 2 : c == 'Y' ? 1 : 0;
}

uint16_t ParseDateExpression(const std::string& s, uint16_t today) {
  std::string e = TrimBlanks(s.substr(1));
  if (e.size() > 255) e.resize(255);
  ParseStr fields;
  fields.Parse(e, ",");
  if (fields.fNumOfFlds > 3) return kInvalidDay;
  const std::string f1 = UpperAscii(TrimBlanks(fields.GetField(1)));
  if (fields.fNumOfFlds == 1 && !f1.empty() && std::string("FMSTW").find(f1[0]) != std::string::npos)
    return WeekdayExpression(f1, today);
  return PartsExpression(fields, today);
}

DayMonthYear ResolveDayMonthYear(const std::string& dayText, const std::string& monthText,
                                 const std::string& yearText, const DateOrder& order, uint16_t today) {
  DayMonthYear r;
  if (dayText.size() > 2) return r;
  if (yearText.size() > 2 && yearText.size() != 4) return r;
  r.day = dayText.empty() ? 0 : TextToInt(dayText);
  const bool yearGiven = !yearText.empty();
  if (yearText.size() == 4)
    r.year = TextToInt(yearText.substr(2));
  else if (yearGiven)
    r.year = TextToInt(yearText);
  if (monthText.empty()) {
    r.month = 0;
  } else if (monthText.size() > 2 && IsLetter(monthText[0])) {
    // A whole name first: locale names need not differ in their first three letters.
    for (int m = 0; m < 12 && r.month == 0; ++m)
      if (order.monthNames[m] == monthText) r.month = m + 1;
    if (r.month == 0) {
      const std::size_t k = order.MonthNames.find(monthText.substr(0, 3));
      r.month = k == std::string::npos ? 0 : order.MonthAtOffset(k);
    }
    if (r.month == 0) return r;
  } else if (monthText.size() <= 2 && !ContainsLetter(monthText)) {
    r.month = TextToInt(monthText);
  } else {
    return r;
  }
  // A minus sign would wrap to a plausible day, month or year; none is meant.
  if (r.day < 0 || r.month < 0 || r.year < 0) return r;
  if (r.day != 0) {
    const Today now = SplitToday(today);
    if (r.month == 0) r.month = now.month;
    if (!yearGiven) r.year = now.year;
  } else {
    r.month = 0;
    r.year = 0;
  }
  r.valid = true;
  return r;
}

uint16_t ParseDateText(const std::string& text, uint8_t hint, const DateOrder& order, uint16_t today) {
  const std::string s = UpperAscii(RemoveSpaces(text));
  if (s.empty()) return 0;
  if (s[0] == '=') return ParseDateExpression(s, today);

  std::string dayText, monthText, yearText;
  auto byFields = [&](char sep, bool dayFirst) {
    ParseStr f;
    f.Parse(s, std::string(1, sep));
    auto field = [&](int32_t pos) { return pos > 0 ? f.GetField(static_cast<uint16_t>(pos)) : std::string(); };
    dayText = field(dayFirst ? 1 : order.DayPos);
    monthText = field(dayFirst ? 2 : order.MonthPos);
    yearText = field(dayFirst ? 3 : order.YearPos);
  };
  if (s.find('/') != std::string::npos) {
    byFields('/', hint == 2);
  } else if (s.find('-') != std::string::npos) {
    byFields('-', false);
  } else if (s.find('.') != std::string::npos) {
    byFields('.', false);
  } else if (!ContainsLetter(s) && (s.size() == 1 || s.size() == 2 || s.size() == 4 || s.size() == 6)) {
    auto chars = [&](std::size_t at) { return at < s.size() ? s.substr(at, 2) : std::string(); };
    if (s.size() <= 2) {
      dayText = s;
    } else if (hint == 2) {
      dayText = chars(0), monthText = chars(2), yearText = chars(4);
    } else {
      monthText = chars(0), dayText = chars(2), yearText = chars(4);
    }
  } else if (ContainsLetter(s) && IsDigit(s[0])) {
    std::size_t i = 0;
    while (i < s.size() && IsDigit(s[i])) ++i;
    dayText = s.substr(0, i);
    const std::size_t j = i;
    while (i < s.size() && IsLetter(s[i])) ++i;
    monthText = s.substr(j, i - j);
    yearText = s.substr(i, 255);
  } else {
    return kInvalidDay;
  }

  const DayMonthYear dmy = ResolveDayMonthYear(dayText, monthText, yearText, order, today);
  if (!dmy.valid) return kInvalidDay;
  if (dmy.day + dmy.month + dmy.year == 0) return kInvalidDay;
  const std::string t = FormatDateDigits(dmy.month, dmy.day, dmy.year);
  const uint16_t n = DayNumberOf(t);
  if (DayNumberToText(n) != t) return kInvalidDay;
  return n;
}

}  // namespace iex
