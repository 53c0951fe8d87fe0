// agency-gen: creates an agency database for tests, the demo and benchmarks.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Generator.h"
#include "platform/Error.h"

int main(int argc, char** argv) {
  iex::tools::AgencyOptions options;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (arg == "--encrypt-cards") {
      options.encryptCards = true;
      continue;
    }
    if (arg == "--random-keys") {
      options.randomKeys = true;
      continue;
    }
    if (!value) {
      std::fprintf(stderr, "agency-gen: %s needs a value\n", arg.c_str());
      return 2;
    }
    ++i;
    if (arg == "--out") out = value;
    else if (arg == "--invoices") options.invoices = std::atoi(value);
    else if (arg == "--seed") options.seed = std::strtoull(value, nullptr, 10);
    else if (arg == "--schema-version") options.schemaVersion = value;
    else if (arg == "--key-text") options.keyText = value;
    else {
      std::fprintf(stderr, "agency-gen: unknown option %s\n", arg.c_str());
      return 2;
    }
  }
  if (out.empty() || options.invoices < 0) {
    std::fprintf(stderr,
                 "usage: agency-gen --out FILE [--invoices N] [--seed S] [--schema-version V]\n"
                 "                  [--encrypt-cards] [--key-text TEXT] [--random-keys]\n");
    return 2;
  }
  try {
    iex::tools::CreateAgencyDatabase(out, options);
  } catch (const iex::EMvError& e) {
    std::fprintf(stderr, "agency-gen: %s\n", e.what());
    return 1;
  }
  std::printf("%s: %d invoices (seed %llu, schema version %s%s%s)\n", out.c_str(), options.invoices,
              static_cast<unsigned long long>(options.seed), options.schemaVersion.c_str(),
              options.encryptCards ? ", card numbers enciphered" : "", options.randomKeys ? ", keys in random order" : "");
  return 0;
}
