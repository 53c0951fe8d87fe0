#pragma once
#include <array>
#include <string>

namespace iex {

// The machine's regional settings that dates and amounts follow. Texts are
// 8-bit (Windows-1252), like every text the domain code handles.
struct RegionalSettings {
  std::string shortDateFormat = "M/d/yyyy";
  char dateSeparator = '/';
  std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char decimalSeparator = '.';
};

}  // namespace iex
