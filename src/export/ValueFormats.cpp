#include "export/ValueFormats.h"

#include <cmath>
#include <cstdio>

#include "util/DateValue.h"

namespace iex {
namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimBlanksAndControls(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlankOrControl(s[b])) ++b;
  while (e > b && IsBlankOrControl(s[e - 1])) --e;
  return s.substr(b, e - b);
}

}  // namespace

void AppendAmountText(std::string& text, int64_t hundredths, char decimalSeparator) {
  const bool negative = hundredths < 0;
  const uint64_t mag = negative ? 0 - static_cast<uint64_t>(hundredths) : static_cast<uint64_t>(hundredths);
  if (negative) text += '-';
  char digits[24];
  char* end = digits + sizeof digits;
  char* p = end;
  uint64_t whole = mag / 100;
  do *--p = static_cast<char>('0' + whole % 10);
  while ((whole /= 10) != 0);
  text.append(p, end);
  const unsigned cents = static_cast<unsigned>(mag % 100);
  if (cents != 0) {
    text += decimalSeparator;
    text += static_cast<char>('0' + cents / 10);
    if (cents % 10) text += static_cast<char>('0' + cents % 10);
  }
}

std::string AmountText(int64_t hundredths, char decimalSeparator) {
  std::string text;
  AppendAmountText(text, hundredths, decimalSeparator);
  return text;
}

void AppendDateText(std::string& text, double dateValue, char dateSeparator) {
  const CivilDate d = DecodeDate(dateValue);
  auto two = [&](int n) {
    text += static_cast<char>('0' + n / 10 % 10);
    text += static_cast<char>('0' + n % 10);
  };
  if (d.year < 0 || d.year > 9999) {  // beyond any agency's dates: as printf would write them
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d", d.month, dateSeparator, d.day, dateSeparator, d.year);
    text += buf;
    return;
  }
  two(d.month);
  text += dateSeparator;
  two(d.day);
  text += dateSeparator;
  two(d.year / 100);
  two(d.year);
}

std::string DateAlwaysText(double dateValue, char dateSeparator) {
  std::string text;
  AppendDateText(text, dateValue, dateSeparator);
  return text;
}

bool HasDate(double dateValue) { return std::floor(dateValue) >= 1; }

std::string DateText(double dateValue, char dateSeparator) {
  return HasDate(dateValue) ? DateAlwaysText(dateValue, dateSeparator) : std::string();
}

std::string TimeText(double dateTimeValue) {
  if (dateTimeValue == std::floor(dateTimeValue)) return std::string();
  const TimeOfDay t = DecodeTime(dateTimeValue);
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d%c", hour12, t.minute, t.hour < 12 ? 'A' : 'P');
  return buf;
}

std::string PadZeros(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), '0') + text;
}

std::string MaxChars(const std::string& text, std::size_t n) { return text.size() > n ? text.substr(0, n) : text; }

std::string CleanPhone(const std::string& text) {
  std::string s = text;
  // The North American "+1" goes with its digit; any other country code
  // keeps its digits and loses only the "+".
  const auto plus = s.find('+');
  if (plus != std::string::npos) s.erase(plus, plus + 1 < s.size() && s[plus + 1] == '1' ? 2 : 1);
  const auto brackets = s.find("()");
  if (brackets != std::string::npos) s.erase(brackets, 2);
  return TrimBlanksAndControls(s);
}

std::string GetFirstWord(const std::string& text) {
  const auto blank = text.find(' ');
  if (blank == std::string::npos) return std::string();
  return TrimBlanksAndControls(MaxChars(text.substr(0, blank + 1), 13));
}

}  // namespace iex
