#include "platform/LockedFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Error.h"
#include "platform/PathText.h"

namespace iex {

bool TLockedFile::Exists() const {
  std::error_code ec;
  return std::filesystem::exists(PathOfText(path_), ec);
}

std::string TLockedFile::Read() const {
  if (!Exists()) return std::string();
  std::ifstream in(PathOfText(path_), std::ios::binary);
  if (!in) throw EMvError(std::string(std::strerror(errno)) + ": " + path_);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void TLockedFile::Write(const std::string& content) {
  TAtomicWrite how;
  how.newMode = shared_ ? 0664 : 0600;
  WriteFileAtomically(path_, content, how);
}

}  // namespace iex
