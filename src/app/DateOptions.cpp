#include "app/DateOptions.h"

#include <cstdio>

#include "platform/AnsiText.h"
#include "platform/Error.h"
#include "util/DateParser.h"
#include "util/DateValue.h"
#include "util/DayNumbers.h"

namespace iex {
namespace {

const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};

bool Digits(const std::string& s, std::size_t from, std::size_t n) {
  for (std::size_t i = from; i < from + n; ++i)
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
  return true;
}

// YYYY-MM-DD; the range the program's dates hold.
std::optional<TDateOption> IsoDate(const std::string& s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-' || !Digits(s, 0, 4) || !Digits(s, 5, 2) || !Digits(s, 8, 2))
    return std::nullopt;
  const int y = std::stoi(s.substr(0, 4)), m = std::stoi(s.substr(5, 2)), d = std::stoi(s.substr(8, 2));
  TDateOption o;
  const double value = EncodeDate(y, m, d);
  const CivilDate back = DecodeDate(value);
  if (y < 1980 || y > 2079 || m < 1 || m > 12 || back.day != d || back.month != m) {
    o.valid = false;
    return o;
  }
  o.value = value;
  return o;
}

// The first run of exactly four digits: a year typed in full.
std::optional<int> TypedFullYear(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    std::size_t j = i;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
    if (j - i == 4) return std::stoi(s.substr(i, 4));
    i = j == i ? i + 1 : j;
  }
  return std::nullopt;
}

}  // namespace

std::string UnambiguousDate(double value) {
  const CivilDate d = DecodeDate(value);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d (%d %s %d)", d.year, d.month, d.day, d.day, kMonths[d.month - 1], d.year);
  return buf;
}

TDateOption ReadDateOption(const std::string& textUtf8, const TDateFormats& formats, uint16_t today) {
  if (textUtf8.empty()) return {};
  if (auto iso = IsoDate(textUtf8)) return *iso;
  const std::string text = Utf8ToAnsi(textUtf8);
  uint16_t n = kInvalidDay;
  try {
    n = ParseDateText(text, DateOrderHint(formats.regional.shortDateFormat), formats.order, today);
  } catch (const EMvError&) {
  }
  TDateOption o;
  if (n == kInvalidDay) {
    o.valid = false;
    return o;
  }
  if (n == 0) return o;
  o.value = n + kDayNumberBase;
  if (text[0] == '=') return o;
  const CivilDate read = DecodeDate(*o.value);
  const std::optional<int> typed = TypedFullYear(text);
  if (typed && *typed != read.year) {
    o.warning = text + " is read as " + UnambiguousDate(*o.value) + ": dates run from 1980 to 2079.";
    return o;
  }
  // Day and month could swap places, and the separator is not the regional
  // one: the text may have been written for another locale.
  const char sep = formats.regional.dateSeparator;
  const bool foreign = text.find_first_of("/-.") != std::string::npos && text.find(sep) == std::string::npos;
  if (foreign && read.day <= 12 && read.day != read.month)
    o.warning = text + " is read in the regional order (" + formats.regional.shortDateFormat + ") as " +
                UnambiguousDate(*o.value) + "; give an ISO date (YYYY-MM-DD) to be sure.";
  return o;
}

std::string IssueDateRangeText(const std::optional<double>& from, const std::optional<double>& to) {
  if (!from && !to) return "Invoices of any issue date.";
  if (!to) return "Invoices issued from " + UnambiguousDate(*from) + " on.";
  if (!from) return "Invoices issued up to " + UnambiguousDate(*to) + ".";
  return "Invoices issued from " + UnambiguousDate(*from) + " to " + UnambiguousDate(*to) + ".";
}

}  // namespace iex
