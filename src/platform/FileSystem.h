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

// A file being read. Failures raise EFileError.
class TReadableFile {
 public:
  virtual ~TReadableFile() = default;
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;  // 0 at the end
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
  // when none was made: `existing` is missing, the file system takes no
  // links (FAT, exFAT, many SMB shares), or (`error` ENOSPC) the disk is full.
  virtual bool Link(const std::string& existing, const std::string& newPath, int* error = nullptr) noexcept = 0;
  virtual bool Remove(const std::string& path) noexcept = 0;
  // Whether a name exists, a link or a folder included (never followed).
  virtual bool Exists(const std::string& path) noexcept = 0;
  virtual bool IsFolder(const std::string& path) noexcept = 0;  // a link to one is no folder here
  // What a name leads to, links followed: a folder the user named through a
  // link is still the folder they meant.
  enum class TLeadsTo { Nothing, Folder, Other };
  virtual TLeadsTo LeadsTo(const std::string& path) noexcept = 0;
  // A regular file for reading, never through a link; null when the name does not exist.
  virtual std::unique_ptr<TReadableFile> OpenForReading(const std::string& path) = 0;
  virtual void SyncFolder(const std::string& folder) = 0;
  virtual std::vector<std::string> List(const std::string& folder) = 0;  // names; empty when unreadable
  // An exclusive lock on the file (created when missing, with the folder's
  // group and its sharing: 0660 where the group may write, 0600 otherwise),
  // or null when another process holds it; `holder` then names it ("pid N").
  // Anything but a regular file with one name, owned by this user or one of
  // the folder's group, is refused: the lock is never taken through a link.
  // The file's bytes are never read into a message.
  virtual std::unique_ptr<TFileLock> TryLock(const std::string& path, const std::string& note, std::string& holder) = 0;
  virtual int ProcessId() const = 0;
  virtual bool ProcessAlive(int pid) const = 0;
};

// The machine's own file system.
TFileSystem& DefaultFileSystem();

}  // namespace iex
