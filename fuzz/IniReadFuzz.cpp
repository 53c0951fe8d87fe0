// Any bytes as an alias INI file (the agency product and editors write
// them): every read answers without a crash, and what it lists it finds.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/iex-fuzz-ini-" + std::to_string(getpid()) + ".ini";
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const iex::TIniFile ini(path);
  try {
    std::vector<std::string> keys;
    ini.ReadSection("ALIASES", keys);
    for (const std::string& key : keys)
      if (!ini.ValueExists("ALIASES", key)) std::abort();
    (void)ini.ReadString("ALIASES", "MAIN", "-");
    (void)ini.SectionExists("x");
  } catch (const iex::EMvError&) {
  }
  return 0;
}
