#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sys/sysmacros.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/Error.h"
#include "platform/FileSystem.h"

namespace iex {
namespace {

class PosixWritableFile final : public TWritableFile {
 public:
  PosixWritableFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixWritableFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  void Append(std::string_view data) override {
    while (!data.empty()) {
      const ssize_t n = ::write(fd_, data.data(), data.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw EFileError(n < 0 ? errno : EIO, path_);
      data.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  void Sync() override {
    if (::fsync(fd_) != 0) throw EFileError(errno, path_);
  }
  void Close() override {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) throw EFileError(errno, path_);
  }

 private:
  int fd_;
  std::string path_;
};

class PosixReadableFile final : public TReadableFile {
 public:
  PosixReadableFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixReadableFile() override { ::close(fd_); }
  std::size_t Read(char* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno != EINTR) throw EFileError(errno, path_);
    }
  }

 private:
  int fd_;
  std::string path_;
};

// Whether `uid` is one of the users of group `gid`.
bool MemberOf(uid_t uid, gid_t gid) {
  const passwd* pw = ::getpwuid(uid);
  if (!pw) return false;
  if (pw->pw_gid == gid) return true;
  const group* gr = ::getgrgid(gid);
  for (char** m = gr ? gr->gr_mem : nullptr; m && *m; ++m)
    if (std::string(*m) == pw->pw_name) return true;
  return false;
}

// Who holds the lock on a file, from the system's own table ("pid N"), so
// nothing need be written into the lock file; "" where it cannot tell.
std::string LockHolder(const struct stat& st) {
  std::ifstream locks("/proc/locks");
  char device[64];
  std::snprintf(device, sizeof device, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));
  std::string line;
  while (std::getline(locks, line)) {
    std::istringstream words(line);
    std::string number, kind, mode, access, pid, where;
    if (!(words >> number >> kind)) continue;
    if (kind == "->") words >> kind;  // a waiter
    if (words >> mode >> access >> pid >> where && kind == "FLOCK" && where == device && pid != "-1")
      return "pid " + pid;
  }
  return std::string();
}

class PosixFileLock final : public TFileLock {
 public:
  explicit PosixFileLock(int fd) : fd_(fd) {}
  ~PosixFileLock() override { ::close(fd_); }  // closing releases the lock

 private:
  int fd_;
};

class PosixFileSystem final : public TFileSystem {
 public:
  std::unique_ptr<TWritableFile> CreateExclusive(const std::string& path, unsigned mode) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd < 0) throw EFileError(errno, path);
    return std::make_unique<PosixWritableFile>(fd, path);
  }

  void Rename(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) throw EFileError(errno, to);
  }

  bool Link(const std::string& existing, const std::string& newPath, int* error) noexcept override {
    if (::link(existing.c_str(), newPath.c_str()) == 0) return true;
    if (error) *error = errno;
    return false;
  }

  bool Remove(const std::string& path) noexcept override { return ::unlink(path.c_str()) == 0; }

  bool Exists(const std::string& path) noexcept override {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
  }

  bool IsFolder(const std::string& path) noexcept override {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  TLeadsTo LeadsTo(const std::string& path) noexcept override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return TLeadsTo::Nothing;
    return S_ISDIR(st.st_mode) ? TLeadsTo::Folder : TLeadsTo::Other;
  }

  std::unique_ptr<TReadableFile> OpenForReading(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT) return nullptr;
      throw EFileError(errno, path);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      throw EFileError(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, path);
    }
    return std::make_unique<PosixReadableFile>(fd, path);
  }

  void SyncFolder(const std::string& folder) override {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw EFileError(errno, folder);
    const int rc = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; the renames are still done.
    if (rc != 0 && err != EINVAL && err != ENOTSUP) throw EFileError(err, folder);
  }

  std::vector<std::string> List(const std::string& folder) override {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* e = ::readdir(dir)) names.emplace_back(e->d_name);
    ::closedir(dir);
    return names;
  }

  std::unique_ptr<TFileLock> TryLock(const std::string& path, const std::string&, std::string& holder) override {
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    struct stat dir {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &dir) != 0) throw EFileError(errno, path);
    const bool shared = (dir.st_mode & S_IWGRP) != 0;  // users of the folder's group share the lock
    bool created = true;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, shared ? 0660 : 0600);
    if (fd < 0 && errno == EEXIST) {
      created = false;
      fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    }
    if (fd < 0 && errno == ELOOP) throw ELockRefused(path, "is a symbolic link");
    if (fd < 0) throw EFileError(errno, path);
    struct stat st {};
    // A lock of its own: a regular file with one name, owned by this user or
    // (in a shared folder) by one of the folder's group.
    const char* unsound = ::fstat(fd, &st) != 0   ? "cannot be examined"
                          : S_ISDIR(st.st_mode)   ? "is a folder"
                          : !S_ISREG(st.st_mode)  ? "is no regular file (a FIFO or a device)"
                          : st.st_nlink != 1      ? "has a second name (a hard link, as a copy with cp -al makes)"
                          : !(st.st_uid == ::geteuid() || st.st_uid == 0 || (shared && MemberOf(st.st_uid, dir.st_gid)))
                              ? "belongs to a user outside the folder's group"
                              : nullptr;
    if (unsound) {
      ::close(fd);
      throw ELockRefused(path, unsound);
    }
    if (created) {
      // The folder's group and sharing, whatever the umask.
      if (shared && st.st_gid != dir.st_gid) (void)!::fchown(fd, static_cast<uid_t>(-1), dir.st_gid);
      (void)!::fchmod(fd, shared ? 0660 : 0600);
    }
    int rc;
    while ((rc = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (rc != 0) {
      const int err = errno;
      holder = LockHolder(st);
      ::close(fd);
      if (err == EWOULDBLOCK) return nullptr;
      throw EFileError(err, path);
    }
    return std::make_unique<PosixFileLock>(fd);
  }

  int ProcessId() const override { return static_cast<int>(::getpid()); }
  bool ProcessAlive(int pid) const override { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }
};

}  // namespace

TFileSystem& DefaultFileSystem() {
  // Never destroyed: a run still ending while the process exits keeps using it.
  static auto& fs = *new PosixFileSystem;
  return fs;
}

}  // namespace iex
