#pragma once
#include <cstdint>

namespace iex {

// Date values count days since 30 December 1899; the fraction is the time of day.
struct CivilDate {
  int year, month, day;
};
struct TimeOfDay {
  int hour, minute, second, millisecond;
};

CivilDate DecodeDate(double value);
TimeOfDay DecodeTime(double value);
double EncodeDate(int year, int month, int day);

}  // namespace iex
