#pragma once
#include <fstream>
#include <string>

#include "TempDir.h"
#include "platform/Env.h"
#include "platform/PathText.h"

namespace iex::test {

// Registry hives and application-data folders inside a temporary folder.
inline TPlatformPaths HivePaths(const TempDir& dir) {
  return {dir.File("user/HKEY_CURRENT_USER.reg"), dir.File("machine/HKEY_LOCAL_MACHINE.reg"), "tester",
          dir.File("appdata"), dir.File("common"), ""};
}

// The paths a program run would have: on Windows the machine's registry,
// which the folder's TestRegistry redirects to a private key.
inline TPlatformPaths TempPaths(const TempDir& dir) {
  TPlatformPaths paths = HivePaths(dir);
#ifdef _WIN32
  paths.userHive.clear();
  paths.machineHive.clear();
#endif
  return paths;
}

// Where an INI file written from empty puts a blank line: this program's own
// writer parts sections with one; Windows' INI routines do not.
#ifdef _WIN32
constexpr const char* kIniSectionGap = "";
#else
constexpr const char* kIniSectionGap = "\r\n";
#endif

// Two names of one file, however their separators are written.
inline bool SamePath(const std::string& a, const std::string& b) { return PathOfText(a) == PathOfText(b); }

inline void WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(PathOfText(path).parent_path());
  std::ofstream(PathOfText(path), std::ios::binary) << text;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(PathOfText(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace iex::test
