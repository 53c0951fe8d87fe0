#pragma once
#include <cerrno>
#include <stdexcept>
#include <string>

namespace iex {

// The system's general error: a message text meant for the user.
class EMvError : public std::runtime_error {
 public:
  explicit EMvError(const std::string& message) : std::runtime_error(message) {}
};

// A file operation that failed: the system's error number and, in plain
// words, what it means for the user.
class EFileError : public EMvError {
 public:
  // `detail`, when given, follows the cause: who holds the file, say.
  EFileError(int error, const std::string& path, std::string detail = std::string());
  int Error() const { return error_; }
  const std::string& Path() const { return path_; }
  // "The disk is full.", "Permission denied.", ...
  static std::string Cause(int error);
  // The cause with its detail.
  std::string CauseText() const { return detail_.empty() ? Cause(error_) : Cause(error_) + " " + detail_; }

 private:
  int error_;
  std::string path_;
  std::string detail_;
};

// A lock file that is there but is none an export may take: a link, a
// FIFO, a second name of another file, a stranger's file. `Why` says which.
class ELockRefused : public EFileError {
 public:
  ELockRefused(const std::string& path, std::string why)
      : EFileError(EPERM, path, "The lock file " + why + "."), why_(std::move(why)) {}
  const std::string& Why() const { return why_; }

 private:
  std::string why_;
};

}  // namespace iex
