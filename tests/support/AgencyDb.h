#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Generator.h"

namespace iex::test {

// Where test databases live: a folder the Firebird server may read and
// write too, removed when the object goes.
class TempDir {
 public:
  TempDir() {
    const char* base = std::getenv("IEX_TEST_TMP");
    std::string pattern = std::string(base ? base : "/tmp") + "/iex-test-XXXXXX";
    path_ = mkdtemp(pattern.data());
    chmod(path_.c_str(), 0777);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

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
