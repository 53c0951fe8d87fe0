#pragma once

namespace iex {

// The date value (days since 30 December 1899, the time of day as the
// fraction) of a local calendar date and time, by the civil-day algorithm.
inline double DateValueOfCivil(int year, int month, int day, double secondsOfDay) {
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const long days1970 = static_cast<long>(era) * 146097 + doe - 719468;
  return static_cast<double>(days1970 + 25569) + secondsOfDay / 86400.0;
}

}  // namespace iex
