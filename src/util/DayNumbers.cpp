#include "util/DayNumbers.h"

#include <cmath>

#include "util/NumberText.h"

namespace iex {
namespace {

constexpr int kDaysBefore[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int kMonthLength[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

struct Ymd {
  int month, day, twoDigitYear;
};

Ymd Split(uint16_t n) {
  int y = (n - ((n / 365 + 3) / 4)) / 365;
  int r = n - (365 * y + (y + 3) / 4);
  if (r == 0) {
    y -= 1;
    r = (y % 4 == 0) ? 366 : 365;
  }
  const int yy = y >= 20 ? y - 20 : y + 80;
  if (yy % 4 == 0) {
    if (r == 60) return {2, 29, yy};
    if (r > 60) --r;
  }
  int m = 12;
  while (m > 1 && kDaysBefore[m] >= r) --m;
  return {m, r - kDaysBefore[m], yy};
}

}  // namespace

int DaysInMonth(int month, int twoDigitYear) {
  if (month == 2 && twoDigitYear % 4 == 0) return 29;
  return kMonthLength[month];
}

uint16_t TodayDayNumber(const Env& env) {
  return static_cast<uint16_t>(static_cast<int>(std::floor(env.Now())) - kDayNumberBase);
}

std::string FormatDateDigits(int a, int b, int c) {
  auto two = [](int x) { return ZeroPad(IntToText(static_cast<uint16_t>(x)), 2); };
  return two(a) + two(b) + two(c);
}

uint16_t DayNumberOf(const std::string& text) {
  if (text.empty()) return 0;
  auto part = [&](std::size_t at) { return at < text.size() ? text.substr(at, 2) : std::string(); };
  int d = TextToInt(part(2));
  const int m = TextToInt(part(0));
  const int yy = TextToInt(part(4));
  if (d < 1 || d > 31 || m < 1 || m > 12) return 0;
  const int y = yy >= 80 ? yy - 80 : yy + 20;
  const int length = (m == 2 && y % 4 == 0) ? 29 : kMonthLength[m];
  if (d > length) d = length;
  int n = d + 365 * y + kDaysBefore[m] + (y + 3) / 4;
  if (m > 2 && y % 4 == 0) ++n;
  return static_cast<uint16_t>(n);
}

std::string DayNumberToText(uint16_t n, uint8_t form, const DateOrder& order) {
  if (n == 0) return std::string();
  const Ymd d = Split(n);
  switch (form) {
    case 1:
      return ZeroPad(IntToText(d.day), 2) + order.monthNames[d.month - 1] + ZeroPad(IntToText(d.twoDigitYear), 2);
    case 2:
      return FormatDateDigits(d.day, d.month, d.twoDigitYear);
    default:
      return FormatDateDigits(d.month, d.day, d.twoDigitYear);
  }
}

std::string DayNumberToText(uint16_t n) {
  if (n == 0) return std::string();
  const Ymd d = Split(n);
  return FormatDateDigits(d.month, d.day, d.twoDigitYear);
}

}  // namespace iex
