#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Error.h"
#include "util/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t base = static_cast<uint8_t>(2 + data[0] % 15);
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  try {
    const int64_t v = iex::TextToNumber(text, base);
    if (base == 10 && iex::TextToComp(text) != v) std::abort();
    (void)iex::CompToText(v);
  } catch (const iex::EMvError&) {
  }
  try {
    (void)iex::TextToInt(text);
  } catch (const iex::EMvError&) {
  }
  return 0;
}
