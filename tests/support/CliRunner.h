#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CliExport.h"

namespace iex::test {

// Runs "invoice-export export" in process and keeps what it printed.
struct CliResult {
  int status;
  std::string out, err;
};

inline std::string Slurp(std::FILE* f) {
  std::rewind(f);
  std::string text;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}

inline CliResult RunCli(const std::vector<std::string>& args, const Env& env, TSettingsStore* store = nullptr,
                        const TAliasResolver& aliases = nullptr) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int status = RunExportCommand(args, env, store, aliases, out, err);
  return {status, Slurp(out), Slurp(err)};
}

}  // namespace iex::test
