#include "controls/DateFormat.h"

#include <cstdio>

#include "util/DateValue.h"

namespace iex {

std::string FormatDateValue(double dateValue, const std::string& pattern, char dateSeparator,
                            const std::string monthNames[12]) {
  const CivilDate d = DecodeDate(dateValue);
  std::string out;
  char buf[16];
  for (std::size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    switch (c) {
      case 'd':
      case 'D':
        std::snprintf(buf, sizeof buf, run >= 2 ? "%02d" : "%d", d.day);
        out += buf;
        break;
      case 'M':
      case 'm':
        if (run >= 3) {
          out += monthNames[d.month - 1];
        } else {
          std::snprintf(buf, sizeof buf, run == 2 ? "%02d" : "%d", d.month);
          out += buf;
        }
        break;
      case 'y':
      case 'Y':
        if (run <= 2)
          std::snprintf(buf, sizeof buf, "%02d", d.year % 100);
        else
          std::snprintf(buf, sizeof buf, "%04d", d.year);
        out += buf;
        break;
      case '/':
        out.append(run, dateSeparator);
        break;
      default:
        out.append(run, c);
    }
    i += run;
  }
  return out;
}

}  // namespace iex
