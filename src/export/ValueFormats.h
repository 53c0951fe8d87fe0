#pragma once
#include <cstdint>
#include <string>

namespace iex {

// Value texts of the import files.

// Hundredths as the shortest decimal: 12340 -> "123.4", 100000 -> "1000".
std::string AmountText(int64_t hundredths, char decimalSeparator);
void AppendAmountText(std::string& to, int64_t hundredths, char decimalSeparator);
// "MM/DD/YYYY" with the given separator; empty for dates not after 30 December 1899.
std::string DateText(double dateValue, char dateSeparator);
bool HasDate(double dateValue);  // after 30 December 1899
// Always formatted, 0 included (12/30/1899).
std::string DateAlwaysText(double dateValue, char dateSeparator);
void AppendDateText(std::string& to, double dateValue, char dateSeparator);
// "HHMMA/P" on the 12-hour clock; empty at exactly midnight.
std::string TimeText(double dateTimeValue);
// Preceded by zeros up to width characters; longer texts stay whole.
std::string PadZeros(const std::string& text, std::size_t width);
// The first n characters.
std::string MaxChars(const std::string& text, std::size_t n);
// Drops the first "+" (with the "1" after it: "+1 212" gives "212"), and
// the first "()", then trims.
std::string CleanPhone(const std::string& text);
// The text up to its first blank, at most 13 characters, trimmed; "" without a blank.
std::string GetFirstWord(const std::string& text);

}  // namespace iex
