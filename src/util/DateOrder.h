#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/RegionalSettings.h"
#include "util/ParseStr.h"

namespace iex {

// What the date parser learns from the regional settings at start-up: the
// order of day, month and year and the short month names.
struct DateOrder {
  // Upper-cased, held one by one so that names of any length still parse.
  std::array<std::string, 12> monthNames;
  std::string MonthNames;  // the twelve joined, as the name search reads them
  ParseStr DateFormatFields;
  int32_t DayPos = 0;
  int32_t MonthPos = 0;
  int32_t YearPos = 0;

  // Month (1 to 12) whose name holds the character at 0-based offset k of MonthNames.
  int MonthAtOffset(std::size_t k) const;
};

DateOrder InitDateOrder(const RegionalSettings& settings);
void DoneDateOrder(DateOrder& order);
// A short date format with exactly two year letters gets four (M/d/yy -> M/d/yyyy).
void ExpandShortYearFormat(RegionalSettings& settings);

}  // namespace iex

namespace iex {

// The date formats the program runs with: the machine's settings with a
// four-digit year, and the order their parts are read in.
struct TDateFormats {
  RegionalSettings regional;
  DateOrder order;
};
// The start-up routines in their order: InitDateOrder, then ExpandShortYearFormat.
TDateFormats StartDateFormats(RegionalSettings machine);

}  // namespace iex
