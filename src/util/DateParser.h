#pragma once
#include <cstdint>
#include <string>

#include "util/DateOrder.h"

namespace iex {

// The order hint the date control passes: 2 when the short date format
// begins with the day, 1 with the year, 0 otherwise.
uint8_t DateOrderHint(const std::string& shortDateFormat);

// A typed date or an "=" expression to a day number: 0 for an empty text,
// kInvalidDay for one that names no date from 1980 to 2079. May raise the
// errors of TextToInt for number parts beyond 32 bits.
uint16_t ParseDateText(const std::string& text, uint8_t hint, const DateOrder& order, uint16_t today);

// Inner steps, open for tests.
struct DayMonthYear {
  bool valid = false;
  int day = 0, month = 0, year = 0;
};
DayMonthYear ResolveDayMonthYear(const std::string& dayText, const std::string& monthText,
                                 const std::string& yearText, const DateOrder& order, uint16_t today);
uint16_t ParseDateExpression(const std::string& s, uint16_t today);

}  // namespace iex
