// Splits the input at a separator (with and without quoting) and fills the
// input as a template with itself as values.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/FillTemplate.h"
#include "util/ParseStr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::string sep(1, static_cast<char>(data[0]));
  const std::string quote(1, static_cast<char>(data[1]));
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  for (const std::string& q : {std::string(), quote}) {
    iex::ParseStr p;
    p.Parse(text, sep, q);
    std::size_t total = 0;
    for (const std::string& field : p) total += field.size();
    if (total > text.size()) std::abort();
  }
  const auto half = text.size() / 2;
  (void)iex::FillTemplate(text.substr(0, half), text.substr(half));
  return 0;
}
