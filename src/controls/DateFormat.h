#pragma once
#include <string>

namespace iex {

// A date value written with a short date pattern: d, dd, M, MM, yy, yyyy
// (and MMM for the month's short name); "/" stands for the date separator.
std::string FormatDateValue(double dateValue, const std::string& pattern, char dateSeparator,
                            const std::string monthNames[12]);

}  // namespace iex
