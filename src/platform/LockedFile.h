#pragma once
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace iex {

// How a file is replaced.
struct TAtomicWrite {
  // The mode of a file that does not exist yet, whatever the umask; one that
  // exists keeps its mode and group.
  unsigned newMode = 0600;
  // A link at the name is written through to its target, but only in a
  // folder no one else may write: there a link is replaced itself.
  bool followLinks = true;
};

// Replaces a file's content in one step: a temporary file beside it, put on
// the disk, then renamed over it. A new file in a folder shared with a group
// takes that group. Raises EMvError.
void WriteFileAtomically(const std::string& path, const std::string& content, const TAtomicWrite& how = {});

// A small file that several processes read and rewrite: an advisory lock on
// a companion ".lock" file (never through a link) for the time of one
// operation, and atomic rewrites. In a folder shared with a group (the
// all-users alias folder) the file and its lock are the group's too: new
// ones are made 0664.
class TLockedFile {
 public:
  // An exclusive lock creates missing folders first; Writable() tells whether that worked.
  TLockedFile(const std::string& path, bool exclusive);
  TLockedFile(const TLockedFile&) = delete;
  TLockedFile& operator=(const TLockedFile&) = delete;

  bool Writable() const { return writable_; }
  // Why the file may not be written ("The file system is read-only. (PATH)"), or "".
  const std::string& WhyNotWritable() const { return whyNot_; }
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
  bool shared_ = false;  // the folder's group may write
  std::string whyNot_;
};

}  // namespace iex
