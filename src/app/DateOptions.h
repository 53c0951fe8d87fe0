#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "util/DateOrder.h"

namespace iex {

// A date the command line was given, as read: the date value (none for an
// empty text), or why it was refused; and a warning when the reading may
// not be what was meant.
struct TDateOption {
  std::optional<double> value;
  bool valid = true;
  std::string warning;  // ANSI, as every message
};

// ISO 8601 (2026-12-09) under any locale; otherwise the regional form or an
// "=" expression, as the window's date field reads them. Dates run from
// 1980 to 2079.
TDateOption ReadDateOption(const std::string& textUtf8, const TDateFormats& formats, uint16_t today);

// "2024-05-03 (3 May 2024)": a date no reader can misread.
std::string UnambiguousDate(double value);
// The interpreted range, printed before a run: "Invoices issued from ... to ...".
std::string IssueDateRangeText(const std::optional<double>& from, const std::optional<double>& to);

}  // namespace iex
