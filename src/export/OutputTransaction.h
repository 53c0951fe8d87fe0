#pragma once
#include <deque>
#include <memory>
#include <string>

#include "export/CommitRecord.h"
#include "export/LineWriter.h"
#include "platform/FileSystem.h"

namespace iex {

// The import files of one run, written as a unit: each into a temporary
// file of its folder (owner and group only), put in place under its final
// name only by Commit. Until then, and whenever the run fails or stops, the
// previous files stay as they were. One run per folder: a lock file beside
// the import files is held for the run's length.
//
// The pair goes in as one commit that survives a crash: a commit record
// naming both new files (with their digests) and how the previous ones are
// kept is put on the disk first, then the renames, then the record goes,
// and only then the previous versions. A run that finds a record first
// completes that commit when both new files are whole, and undoes it
// otherwise, so the folder always ends with one pair.
class TOutputTransaction {
 public:
  static constexpr const char* kLockName = ".invoice-export.lock";
  static constexpr unsigned kFileMode = 0640;

  // Raises when another run holds the folder, or when an interrupted commit
  // found there cannot be settled. Removes what runs that died left of
  // their own files (and only those).
  TOutputTransaction(TFileSystem& fs, std::string folder);
  ~TOutputTransaction();  // without Commit: removes the temporary files
  TOutputTransaction(const TOutputTransaction&) = delete;
  TOutputTransaction& operator=(const TOutputTransaction&) = delete;

  // A writer on ".NAME.partial-PID"; its errors name `NAME` in the folder.
  TLineWriter Create(const std::string& name);
  // Every writer must be closed. Puts both files in place as one commit.
  void Commit();

  // What settling an interrupted commit did ("" when there was none).
  const std::string& RecoveryNote() const { return recoveryNote_; }

  std::string FinalPath(const std::string& name) const { return folder_ + "/" + name; }
  static std::string PartialName(const std::string& name, int pid);
  static std::string PreviousName(const std::string& name, int pid);

 private:
  struct File {
    std::string name;
    TFileDigest digest;  // fed by the writer
  };
  std::string In(const std::string& name) const { return folder_ + "/" + name; }
  void RemoveStaleFiles();
  void KeepPrevious(TCommitEntry& e);
  void WriteRecord(const TCommitRecord& record);
  void PutInPlace(const TCommitRecord& record);
  void Finish(const TCommitRecord& record);

  TFileSystem& fs_;
  std::string folder_;
  std::unique_ptr<TFileLock> lock_;
  std::deque<File> files_;  // stable addresses: the writers feed the digests
  bool committed_ = false;
  std::string recoveryNote_;
};

// Settles a commit a run left half done in `folder`: completes it when both
// new files are whole, undoes it otherwise. "" when there was none; what was
// done otherwise. The folder's lock must be held.
std::string RecoverInterruptedCommit(TFileSystem& fs, const std::string& folder);
// The same with a choice: `undo` puts the previous pair back even when both
// new files are whole (a commit that failed in this process).
std::string SettleCommit(TFileSystem& fs, const std::string& folder, bool undo);

}  // namespace iex
