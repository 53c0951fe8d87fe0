#pragma once
#include <filesystem>
#include <string>

namespace iex {

// Paths travel through the program as UTF-8 text. These turn them into the
// standard library's path and back without the narrow code page Windows
// would read a plain std::string in.
inline std::filesystem::path PathOfText(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string TextOfPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// `file` inside `folder`, with the system's separator.
inline std::string JoinPath(const std::string& folder, const std::string& file) {
  return TextOfPath(PathOfText(folder) / PathOfText(file));
}

}  // namespace iex
