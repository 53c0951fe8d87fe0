#pragma once
#include <cstdint>
#include <string>

#include "platform/Env.h"
#include "util/DateOrder.h"

namespace iex {

// Day numbers count from 1 = 1 January 1980 to 36525 = 31 December 2079.
constexpr uint16_t kInvalidDay = 65535;
constexpr uint16_t kLastDay = 36525;
// Date value of day number 0.
constexpr int kDayNumberBase = 29220;

uint16_t TodayDayNumber(const Env& env);
// Two digits each, joined: (5, 20, 24) -> "052024".
std::string FormatDateDigits(int a, int b, int c);
// From a six-digit MMDDYY text; 0 for a day or month out of range. A day
// beyond the month's length becomes its last day.
uint16_t DayNumberOf(const std::string& text);
// Form 0 MMDDYY, 1 DD + month name + YY, 2 DDMMYY; "" for 0.
std::string DayNumberToText(uint16_t n, uint8_t form, const DateOrder& order);
std::string DayNumberToText(uint16_t n);  // form 0

int DaysInMonth(int month, int twoDigitYear);

}  // namespace iex
