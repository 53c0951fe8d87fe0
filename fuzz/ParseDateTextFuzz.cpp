// Any text, both order hints, any day as today: a day number, 0, the invalid
// mark or one of the number errors; never a crash or a day outside the window.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/DateParser.h"
#include "util/DayNumbers.h"
#include "platform/Error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static const iex::DateOrder us = iex::InitDateOrder(iex::RegionalSettings{});
  static const iex::DateOrder dayFirst = [] {
    iex::RegionalSettings s;
    s.shortDateFormat = "dd.MM.yyyy";
    s.dateSeparator = '.';
    return iex::InitDateOrder(s);
  }();
  const uint16_t today = static_cast<uint16_t>(1 + (data[0] | (data[1] << 8)) % iex::kLastDay);
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  for (uint8_t hint : {uint8_t{0}, uint8_t{2}}) {
    try {
      const uint16_t n = iex::ParseDateText(text, hint, hint == 2 ? dayFirst : us, today);
      if (n != 0 && n != iex::kInvalidDay && n > iex::kLastDay) std::abort();
    } catch (const iex::EMvError&) {
    }
  }
  return 0;
}
