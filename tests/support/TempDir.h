#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace iex::test {

// Where test files live: a folder the Firebird server may read and
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

}  // namespace iex::test
