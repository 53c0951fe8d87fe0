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
inline std::string ServerPort() {
  const char* p = std::getenv("IEX_FB_PORT");
  return p ? p : "";
}
// A database file of this machine as the test server reaches it.
inline std::string RemotePath(const std::string& path) {
  if (ServerPort().empty()) return ServerHost() + ":" + path;
  return "inet://" + ServerHost() + ":" + ServerPort() + "/" + path;
}
// The server's service manager, for fbsvcmgr.
inline std::string ServiceManager() {
  return ServerHost() + (ServerPort().empty() ? "" : "/" + ServerPort()) + ":service_mgr";
}
inline std::string ServerPassword() {
  const char* p = std::getenv("IEX_FB_PASSWORD");
  return p ? p : "";
}

}  // namespace iex::test
