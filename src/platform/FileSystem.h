#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace iex {

// A file being written. Every failure raises EFileError.
class TWritableFile {
 public:
  virtual ~TWritableFile() = default;
  virtual void Append(std::string_view data) = 0;
  virtual void Sync() = 0;   // the bytes are on the disk when it returns
  virtual void Close() = 0;  // also raises for bytes the system could not keep
};

// An exclusive lock held for the object's lifetime.
class TFileLock {
 public:
  virtual ~TFileLock() = default;
};

// The files the export writes go through this seam, so tests can make a
// write fail at a chosen byte without a real disk.
class TFileSystem {
 public:
  virtual ~TFileSystem() = default;
  // A new file that must not exist yet; a link at the path is never
  // followed. The mode is narrowed further by the umask.
  virtual std::unique_ptr<TWritableFile> CreateExclusive(const std::string& path, unsigned mode) = 0;
  // Replaces `to`; a link at `to` is replaced itself, never its target.
  virtual void Rename(const std::string& from, const std::string& to) = 0;
  // A second name for an existing file (a link is linked itself); false
  // when `existing` does not exist.
  virtual bool Link(const std::string& existing, const std::string& newPath) = 0;
  virtual bool Remove(const std::string& path) noexcept = 0;
  virtual void SyncFolder(const std::string& folder) = 0;
  virtual std::vector<std::string> List(const std::string& folder) = 0;  // names; empty when unreadable
  // An exclusive lock on the file (created when missing), or null when
  // another process holds it; `holder` then tells what the file says of it.
  virtual std::unique_ptr<TFileLock> TryLock(const std::string& path, const std::string& note, std::string& holder) = 0;
  virtual int ProcessId() const = 0;
  virtual bool ProcessAlive(int pid) const = 0;
};

// The machine's own file system.
TFileSystem& DefaultFileSystem();

}  // namespace iex
