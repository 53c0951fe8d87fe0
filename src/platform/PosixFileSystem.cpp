#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

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

  bool Link(const std::string& existing, const std::string& newPath) override {
    if (::link(existing.c_str(), newPath.c_str()) == 0) return true;
    int err = errno;
    if (err == ENOENT) return false;
    struct stat st {};
    if (err == EPERM && ::lstat(existing.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) err = EISDIR;
    throw EFileError(err, existing);
  }

  bool Remove(const std::string& path) noexcept override { return ::unlink(path.c_str()) == 0; }

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

  std::unique_ptr<TFileLock> TryLock(const std::string& path, const std::string& note, std::string& holder) override {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) throw EFileError(errno, path);
    int rc;
    while ((rc = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (rc != 0) {
      const int err = errno;
      char buf[256];
      const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
      holder.assign(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
      ::close(fd);
      if (err == EWOULDBLOCK) return nullptr;
      throw EFileError(err, path);
    }
    // Who holds it, for the message a second run shows.
    if (::ftruncate(fd, 0) == 0) (void)!::pwrite(fd, note.data(), note.size(), 0);
    return std::make_unique<PosixFileLock>(fd);
  }

  int ProcessId() const override { return static_cast<int>(::getpid()); }
  bool ProcessAlive(int pid) const override { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }
};

}  // namespace

TFileSystem& DefaultFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace iex
