#include "platform/LockedFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Error.h"

namespace iex {

namespace fs = std::filesystem;

namespace {
class PosixLock final : public TFileLock {
 public:
  explicit PosixLock(int fd) : fd_(fd) {}
  ~PosixLock() override { close(fd_); }  // closing releases the lock

 private:
  int fd_;
};
}  // namespace

TLockedFile::TLockedFile(const std::string& path, bool exclusive) : path_(path) {
  const fs::path folder = fs::path(path).parent_path();
  std::error_code ec;
  if (exclusive && !folder.empty()) fs::create_directories(folder, ec);
  const std::string lock = path + ".lock";
  const int fd = open(lock.c_str(), (exclusive ? (O_RDWR | O_CREAT) : O_RDONLY) | O_CLOEXEC, 0666);
  if (fd < 0) return;  // nothing written yet, or a folder we may only read
  lock_ = std::make_unique<PosixLock>(fd);
  while (flock(fd, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
  }
  writable_ = exclusive && access(folder.empty() ? "." : folder.c_str(), W_OK) == 0 &&
              (!Exists() || access(path.c_str(), W_OK) == 0);
}

std::string TLockedFile::StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::string();
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
         std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}

void WriteFileAtomically(const std::string& path_, const std::string& content) {
  // A link is written through to its target, which stays where it is; the
  // temporary file sits beside the target so the rename stays in one folder.
  std::error_code ec;
  const std::string target = fs::is_symlink(path_, ec) ? fs::weakly_canonical(path_, ec).string() : path_;
  struct stat old {};
  const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0600;
  const std::string temp = target + ".tmp." + std::to_string(getpid());
  ::unlink(temp.c_str());  // a stale file or a planted link: the name itself goes, never a target
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  auto fail = [&](int err) {
    if (fd >= 0) close(fd);
    unlink(temp.c_str());
    throw EMvError(std::string(std::strerror(err)) + ": " + path_);
  };
  if (fd < 0) {
    const int err = errno;
    throw EMvError(std::string(std::strerror(err)) + ": " + temp);
  }
  // The mode of the file replaced, set on the descriptor so the umask does not narrow or widen it.
  if (fchmod(fd, mode) != 0) fail(errno);
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail(n < 0 ? errno : EIO);
    done += static_cast<std::size_t>(n);
  }
  if (fsync(fd) != 0) fail(errno);
  if (close(fd) != 0) {
    const int err = errno;
    unlink(temp.c_str());
    throw EMvError(std::string(std::strerror(err)) + ": " + path_);
  }
  if (rename(temp.c_str(), target.c_str()) != 0) {
    const int err = errno;
    unlink(temp.c_str());
    throw EMvError(std::string(std::strerror(err)) + ": " + path_);
  }
}

}  // namespace iex
