#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Generator.h"
#include "TempDir.h"
#include "db/ClientLibrary.h"
#include "platform/PathText.h"

// For tests that need a database: they skip, saying why, where the Firebird
// client library is missing (Windows builds tested without fbclient.dll).
#define IEX_SKIP_WITHOUT_DATABASE()                                    \
  if (!::iex::db::ClientLibraryAvailable())                            \
  GTEST_SKIP() << "needs the Firebird client library (fbclient.dll), " \
                  "which this machine does not have"

namespace iex::test {

// A generated agency database that the server can open as well.
inline std::string MakeAgencyDb(const TempDir& dir, const std::string& name, const tools::AgencyOptions& options = {}) {
  const std::string path = dir.File(name);
  tools::CreateAgencyDatabase(path, options);
  std::filesystem::permissions(PathOfText(path), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                                    std::filesystem::perms::group_read | std::filesystem::perms::group_write |
                                                    std::filesystem::perms::others_read | std::filesystem::perms::others_write);
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
