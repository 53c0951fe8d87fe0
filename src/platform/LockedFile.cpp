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

void TLockedFile::Write(const std::string& content) {
  TAtomicWrite how;
  how.newMode = shared_ ? 0664 : 0600;
  WriteFileAtomically(path_, content, how);
}

}  // namespace iex
