#include "platform/LockedFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/AnsiText.h"
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
  struct stat dir {};
  shared_ = ::stat(folder.empty() ? "." : folder.c_str(), &dir) == 0 && (dir.st_mode & S_IWGRP);
  const std::string lock = path + ".lock";
  // Never through a link: a planted one must not make us create or lock another file.
  int fd = exclusive ? open(lock.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600) : -1;
  if (fd >= 0) {
    if (shared_) {
      (void)!fchown(fd, static_cast<uid_t>(-1), dir.st_gid);
      (void)!fchmod(fd, 0664);
    }
  } else {
    fd = open(lock.c_str(), (exclusive ? O_RDWR : O_RDONLY) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  }
  if (fd < 0) {  // nothing written yet, or a folder we may only read
    whyNot_ = exclusive ? EFileError(errno, lock).what() : "";
    return;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return;
  }
  lock_ = std::make_unique<PosixLock>(fd);
  while (flock(fd, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
  }
  const std::string where = folder.empty() ? "." : folder.string();
  writable_ = exclusive && access(where.c_str(), W_OK) == 0 && (!Exists() || access(path.c_str(), W_OK) == 0);
  if (exclusive && !writable_) whyNot_ = EFileError(errno, access(where.c_str(), W_OK) == 0 ? path : where).what();
}

std::string TLockedFile::Read() const {
  if (!Exists()) return std::string();  // also a file this user cannot reach: none
  // Never blocking (a FIFO planted in its place would hang every reader) and,
  // in a folder others may write, never through a link.
  const int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (shared_ ? O_NOFOLLOW : 0));
  if (fd < 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR) return std::string();
    if (err == ELOOP)
      throw EMvError("The file " + ShownPath(path_) +
                     " is a symbolic link in a folder others may write, which is not followed; an administrator may "
                     "replace it with the file itself.");
    throw EMvError(std::string(std::strerror(err)) + ": " + ShownPath(path_));
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    throw EMvError("The file " + ShownPath(path_) + " is not a regular file (a FIFO, a device or a folder) and is not read.");
  }
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      close(fd);
      throw EMvError(std::string(std::strerror(err)) + ": " + ShownPath(path_));
    }
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return content;
}

std::string TLockedFile::StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::string();
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
         std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}

void WriteFileAtomically(const std::string& path_, const std::string& content, const TAtomicWrite& how) {
  const fs::path folderPath = fs::path(path_).parent_path();
  const std::string folder = folderPath.empty() ? "." : folderPath.string();
  struct stat dir {};
  const bool others = ::stat(folder.c_str(), &dir) == 0 && (dir.st_mode & (S_IWGRP | S_IWOTH));
  // A link is written through to its target, which stays where it is, only
  // where no one else could have planted it; the temporary file sits beside
  // the target so the rename stays in one folder.
  std::error_code ec;
  const bool link = fs::is_symlink(path_, ec);
  const std::string target = link && how.followLinks && !others ? fs::weakly_canonical(path_, ec).string() : path_;
  struct stat old {};
  const bool existing = ::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  const mode_t mode = existing ? (old.st_mode & 07777) : static_cast<mode_t>(how.newMode);
  const std::string temp = target + ".tmp." + std::to_string(getpid());
  ::unlink(temp.c_str());  // a stale file or a planted link: the name itself goes, never a target
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  auto fail = [&](int err) {
    if (fd >= 0) close(fd);
    unlink(temp.c_str());
    throw EMvError(std::string(std::strerror(err)) + ": " + ShownPath(path_));
  };
  if (fd < 0) {
    const int err = errno;
    throw EMvError(std::string(std::strerror(err)) + ": " + ShownPath(temp));
  }
  // The group of the file replaced, or of a folder shared with one; then the
  // mode, set on the descriptor so the umask does not narrow or widen it.
  if (existing) (void)!fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  else if (dir.st_mode & S_IWGRP) (void)!fchown(fd, static_cast<uid_t>(-1), dir.st_gid);
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
    throw EMvError(std::string(std::strerror(err)) + ": " + ShownPath(path_));
  }
  if (rename(temp.c_str(), target.c_str()) != 0) {
    const int err = errno;
    unlink(temp.c_str());
    throw EMvError(std::string(std::strerror(err)) + ": " + ShownPath(path_));
  }
}

}  // namespace iex
