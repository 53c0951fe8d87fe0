#pragma once
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "TestRegistry.h"

namespace iex::test {

// Where test files live: a folder the Firebird server may read and
// write too, removed when the object goes. On Windows it also holds the
// test's own registry (TestRegistry.h).
class TempDir {
 public:
  TempDir() {
    namespace fs = std::filesystem;
#ifdef _WIN32
    // A child process of RunInChildren works in its parent's folder.
    if (const char* parent = std::getenv("IEX_CHILD_TEMPDIR"); parent && *parent && std::getenv("IEX_CHILD_INDEX")) {
      path_ = parent;
      owned_ = false;
      return;
    }
#endif
    const char* base = std::getenv("IEX_TEST_TMP");
    const fs::path root = base ? fs::path(base) : fs::temp_directory_path();
    static std::atomic<unsigned> made{0};
    std::random_device random;
    for (;;) {
      const fs::path p = root / ("iex-test-" + std::to_string(random()) + "-" + std::to_string(made++));
      std::error_code ec;
      if (fs::create_directory(p, ec)) {
        path_ = p.generic_string();
        break;
      }
      if (ec && ec != std::errc::file_exists) throw fs::filesystem_error("no temporary folder", p, ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::all);
#ifdef _WIN32
    _putenv_s("IEX_CHILD_TEMPDIR", path_.c_str());
#endif
  }
  ~TempDir() {
    std::error_code ec;
    if (owned_) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  bool owned_ = true;
  TestRegistry registry_;
};

}  // namespace iex::test
