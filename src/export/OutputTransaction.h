#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "export/LineWriter.h"
#include "platform/FileSystem.h"

namespace iex {

// The import files of one run, written as a unit: each into a temporary
// file of its folder (owner and group only), put in place under its final
// name only by Commit, in the order created. Until then, and whenever the run
// fails or stops, the previous files stay as they were. One run per folder:
// a lock file beside the import files is held for the run's length.
class TOutputTransaction {
 public:
  static constexpr const char* kLockName = ".invoice-export.lock";
  static constexpr unsigned kFileMode = 0640;

  // Raises when another run holds the folder. Removes temporary files that
  // runs which have died left behind.
  TOutputTransaction(TFileSystem& fs, std::string folder);
  ~TOutputTransaction();  // without Commit: removes the temporary files
  TOutputTransaction(const TOutputTransaction&) = delete;
  TOutputTransaction& operator=(const TOutputTransaction&) = delete;

  // A writer on ".NAME.partial-PID"; its errors name `NAME` in the folder.
  TLineWriter Create(const std::string& name);
  // Every writer must be closed. Renames each file over its final name,
  // then puts the folder's new entries on the disk.
  void Commit();

  std::string FinalPath(const std::string& name) const { return folder_ + "/" + name; }
  static std::string PartialName(const std::string& name, int pid);

 private:
  void RemoveStalePartials();
  TFileSystem& fs_;
  std::string folder_;
  std::unique_ptr<TFileLock> lock_;
  std::vector<std::pair<std::string, std::string>> files_;  // temporary path, final path
  bool committed_ = false;
};

}  // namespace iex
