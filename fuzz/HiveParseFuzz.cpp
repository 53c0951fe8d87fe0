// Any bytes as a registry hive file (other programs write them): parsed
// without a crash, and what it writes back reads back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Error.h"
#include "platform/RegHive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const iex::THive hive = iex::THive::Parse(text, "HKEY_CURRENT_USER", "fuzz.reg");
    const std::string once = hive.Serialize("HKEY_CURRENT_USER");
    const std::string twice = iex::THive::Parse(once, "HKEY_CURRENT_USER", "fuzz.reg").Serialize("HKEY_CURRENT_USER");
    if (once != twice) std::abort();
  } catch (const iex::EMvError&) {
  }
  return 0;
}
