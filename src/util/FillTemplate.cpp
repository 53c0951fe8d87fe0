#include "util/FillTemplate.h"

#include "util/ParseStr.h"

namespace iex {

std::string FillTemplate(const std::string& templ, const std::string& values) {
  ParseStr fields;
  fields.Parse(values, "\t");
  std::string result;
  std::size_t i = 0;
  while (i < templ.size()) {
    const char c = templ[i];
    const char next = i + 1 < templ.size() ? templ[i + 1] : '\0';
    if (c == '%' && next >= '1' && next <= '9') {
      std::size_t j = i + 1;
      std::size_t n = 0;
      while (j < templ.size() && templ[j] >= '0' && templ[j] <= '9') {
        if (n <= ParseStr::kMaxFields) n = n * 10 + static_cast<std::size_t>(templ[j] - '0');
        ++j;
      }
      if (n <= ParseStr::kMaxFields) result += fields.GetField(static_cast<uint16_t>(n));
      i = j;
    } else if (c == '%' && next == '%') {
      result += '%';
      i += 2;
    } else {
      result += c;
      ++i;
    }
  }
  return result;
}

}  // namespace iex
