#pragma once
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace iex {

// A small file that several processes read and rewrite: an advisory lock on
// a companion ".lock" file for the time of one operation, and atomic
// rewrites (a temporary file renamed over the old one).
// Replaces a file's content in one step (a temporary file put on the disk,
// then renamed over it), keeping the mode of the file replaced (owner-only
// when new) and writing through a link to its target. Raises EMvError.
void WriteFileAtomically(const std::string& path, const std::string& content);

class TLockedFile {
 public:
  // An exclusive lock creates missing folders first; Writable() tells whether that worked.
  TLockedFile(const std::string& path, bool exclusive);
  TLockedFile(const TLockedFile&) = delete;
  TLockedFile& operator=(const TLockedFile&) = delete;

  bool Writable() const { return writable_; }
  bool Exists() const;
  // Changes whenever the file is replaced or rewritten ("" when missing), so
  // a reader may keep what it parsed while the stamp stays the same.
  static std::string StampOf(const std::string& path);
  std::string Read() const;                // "" for a missing file; raises when unreadable
  void Write(const std::string& content);  // raises EMvError with the system's text

 private:
  std::string path_;
  std::unique_ptr<TFileLock> lock_;  // none when nothing could be locked
  bool writable_ = false;
};

}  // namespace iex
