#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Generator.h"
#include "TempDir.h"

namespace iex::test {

// A generated agency database that the server can open as well.
inline std::string MakeAgencyDb(const TempDir& dir, const std::string& name, const tools::AgencyOptions& options = {}) {
  const std::string path = dir.File(name);
  tools::CreateAgencyDatabase(path, options);
  chmod(path.c_str(), 0666);
  return path;
}

// The server that scripts/test starts: host and SYSDBA password, or empty
// when none runs (then server tests skip).
inline std::string ServerHost() {
  const char* h = std::getenv("IEX_FB_HOST");
  return h ? h : "";
}
inline std::string ServerPassword() {
  const char* p = std::getenv("IEX_FB_PASSWORD");
  return p ? p : "";
}

}  // namespace iex::test
