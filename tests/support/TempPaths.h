#pragma once
#include <fstream>
#include <string>

#include "TempDir.h"
#include "platform/Env.h"

namespace iex::test {

// Registry hives and application-data folders inside a temporary folder.
inline TPlatformPaths TempPaths(const TempDir& dir) {
  return {dir.File("user/HKEY_CURRENT_USER.reg"), dir.File("machine/HKEY_LOCAL_MACHINE.reg"), "tester",
          dir.File("appdata"), dir.File("common"), ""};
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace iex::test
