#include "util/DateOrder.h"

#include "util/NumberText.h"

namespace iex {

int DateOrder::MonthAtOffset(std::size_t k) const {
  std::size_t end = 0;
  for (int m = 0; m < 12; ++m) {
    end += monthNames[m].size();
    if (k < end) return m + 1;
  }
  return 0;
}

DateOrder InitDateOrder(const RegionalSettings& settings) {
  DateOrder order;
  for (int m = 0; m < 12; ++m) {
    order.monthNames[m] = UpperAscii(settings.shortMonthNames[m]);
    order.MonthNames += order.monthNames[m];
  }
  const std::string& fmt = settings.shortDateFormat;
  const char sep = fmt.find(settings.dateSeparator) != std::string::npos ? settings.dateSeparator : '/';
  order.DateFormatFields.Parse(fmt, std::string(1, sep));
  for (uint16_t field = 1; field <= 3; ++field) {
    const std::string text = order.DateFormatFields.GetField(field);
    const char first = text.empty() ? '\0' : UpperAscii(text[0]);
    if (first == 'D')
      order.DayPos = field;
    else if (first == 'M')
      order.MonthPos = field;
    else
      order.YearPos = field;
  }
  return order;
}

void DoneDateOrder(DateOrder& order) {
  order.monthNames = {};
  order.MonthNames.clear();
  order.DateFormatFields = ParseStr{};
}

void ExpandShortYearFormat(RegionalSettings& settings) {
  int years = 0;
  for (char c : settings.shortDateFormat)
    if (c == 'y' || c == 'Y') ++years;
  if (years != 2) return;
  std::string widened;
  for (char c : settings.shortDateFormat) {
    widened += c;
    if (c == 'y' || c == 'Y') widened += c;
  }
  settings.shortDateFormat = widened;
}

}  // namespace iex

namespace iex {

TDateFormats StartDateFormats(RegionalSettings machine) {
  TDateFormats f;
  f.order = InitDateOrder(machine);
  ExpandShortYearFormat(machine);
  f.regional = std::move(machine);
  return f;
}

}  // namespace iex
