#include "export/OutputTransaction.h"

#include <cerrno>
#include <cstdlib>

#include "platform/AnsiText.h"
#include "platform/Error.h"

namespace iex {
namespace {

constexpr const char* kPartialTag = ".partial-";
constexpr const char* kPreviousTag = ".previous-";
// The only names the clean-up may touch: ours.
const char* const kOwnNames[] = {"IMPACCT.DAT", "IMPINV.DAT"};

std::string Failure(const std::string& path, const EFileError& e) {
  return TLineWriter::FailureText(path, e.CauseText());
}

// The pid of a name ".BASE" + tag + digits, or 0.
int PidOf(const std::string& name, const std::string& base, const char* tag) {
  const std::string prefix = "." + base + tag;
  if (name.rfind(prefix, 0) != 0) return 0;
  const std::string digits = name.substr(prefix.size());
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::atoi(digits.c_str());
}

}  // namespace

std::string TOutputTransaction::PartialName(const std::string& name, int pid) {
  return "." + name + kPartialTag + std::to_string(pid);
}

std::string TOutputTransaction::PreviousName(const std::string& name, int pid) {
  return "." + name + kPreviousTag + std::to_string(pid);
}

TOutputTransaction::TOutputTransaction(TFileSystem& fs, std::string folder) : fs_(fs), folder_(std::move(folder)) {
  while (folder_.size() > 1 && (folder_.back() == '/' || folder_.back() == '\\')) folder_.pop_back();
  const std::string lockPath = In(kLockName);
  std::string holder;
  try {
    lock_ = fs_.TryLock(lockPath, "pid " + std::to_string(fs_.ProcessId()), holder);
  } catch (const ELockRefused& e) {
    // A lock the folder holds but no export may use: named, with the way out.
    throw EMvError("The export's lock file " + ShownPath(lockPath) + " " + e.Why() +
                   ", so no export may use it.\nRemove it (it holds no data; the next export makes a new one), then "
                   "export again. Nothing was changed.");
  } catch (const EFileError& e) {
    // The folder itself refused: the import file's name tells the clerk best.
    throw EMvError(Failure(FinalPath("IMPACCT.DAT"), e));
  }
  if (!lock_)
    throw EMvError("Another export is writing into " + ShownPath(folder_) + (holder.empty() ? "" : " (" + holder + ")") +
                   ".\nWait for it to end, or choose another folder. Nothing was changed.");
  recoveryNote_ = RecoverInterruptedCommit(fs_, folder_);
  RemoveStaleFiles();
}

TOutputTransaction::~TOutputTransaction() {
  if (committed_) return;
  for (const File& f : files_) fs_.Remove(In(PartialName(f.name, fs_.ProcessId())));
}

void TOutputTransaction::RemoveStaleFiles() {
  const std::string recordTemp = TCommitRecord::kName;
  for (const std::string& name : fs_.List(folder_)) {
    int pid = PidOf(name, recordTemp.substr(1), kPartialTag);
    for (const char* own : kOwnNames)
      for (const char* tag : {kPartialTag, kPreviousTag}) pid = pid ? pid : PidOf(name, own, tag);
    if (pid != 0 && (pid == fs_.ProcessId() || !fs_.ProcessAlive(pid))) fs_.Remove(In(name));
  }
}

TLineWriter TOutputTransaction::Create(const std::string& name) {
  const std::string temp = In(PartialName(name, fs_.ProcessId()));
  try {
    auto file = fs_.CreateExclusive(temp, kFileMode);
    File& f = files_.emplace_back(File{name, {}});
    return TLineWriter(std::move(file), FinalPath(name), &f.digest);
  } catch (const EFileError& e) {
    throw EMvError(Failure(FinalPath(name), e));
  }
}

void TOutputTransaction::KeepPrevious(TCommitEntry& e) {
  const std::string final = In(e.name), previous = In(e.previous);
  if (fs_.IsFolder(final)) throw EMvError(TLineWriter::FailureText(final, EFileError::Cause(EISDIR)));
  fs_.Remove(previous);  // ours, from an earlier try of this process
  int error = 0;
  if (fs_.Link(final, previous, &error))
    e.kept = TKeptAs::Link;
  else if (error == ENOSPC)  // links there are, but no room for one: as any write on a full disk
    throw EMvError(Failure(FinalPath(e.name), EFileError(ENOSPC, folder_)) + "\nThe previous import files are unchanged.");
  else
    e.kept = fs_.Exists(final) ? TKeptAs::Aside : TKeptAs::None;  // no links here: renamed aside just in time
}

void TOutputTransaction::WriteRecord(const TCommitRecord& record) {
  const std::string temp = In(PartialName(std::string(TCommitRecord::kName).substr(1), fs_.ProcessId()));
  fs_.Remove(temp);
  try {
    auto file = fs_.CreateExclusive(temp, kFileMode);
    file->Append(record.Format());
    file->Sync();
    file->Close();
    fs_.Rename(temp, In(TCommitRecord::kName));
    fs_.SyncFolder(folder_);
  } catch (const EFileError& e) {
    fs_.Remove(temp);
    fs_.Remove(In(TCommitRecord::kName));
    throw EMvError(Failure(In(TCommitRecord::kName), e) + "\nThe previous import files are unchanged.");
  }
}

void TOutputTransaction::PutInPlace(const TCommitRecord& record) {
  for (const TCommitEntry& e : record.entries) {
    const std::string final = In(e.name);
    try {
      if (e.kept == TKeptAs::Aside) fs_.Rename(final, In(e.previous));
      fs_.Rename(In(e.temp), final);
    } catch (const EFileError& failed) {
      try {
        SettleCommit(fs_, folder_, true);
      } catch (const std::exception&) {
        throw EMvError(Failure(final, failed) + "\nThe previous files could not be put back yet; the next export into " +
                       ShownPath(folder_) + " puts one whole pair in place before anything else.");
      }
      throw EMvError(Failure(final, failed) + "\nThe previous import files are unchanged.");
    }
  }
}

void TOutputTransaction::Commit() {
  TCommitRecord record;
  for (const File& f : files_)
    record.entries.push_back({f.name, PartialName(f.name, fs_.ProcessId()), PreviousName(f.name, fs_.ProcessId()),
                              TKeptAs::None, f.digest});
  try {
    for (TCommitEntry& e : record.entries) KeepPrevious(e);
    WriteRecord(record);
  } catch (...) {
    for (const TCommitEntry& e : record.entries)
      if (e.kept == TKeptAs::Link) fs_.Remove(In(e.previous));
    throw;
  }
  PutInPlace(record);
  committed_ = true;
  Finish(record);
}

void TOutputTransaction::Finish(const TCommitRecord& record) {
  try {
    fs_.SyncFolder(folder_);
  } catch (const EFileError& e) {
    // The record stays: the next run finds both new files whole and keeps them.
    throw EMvError("The import files are in place, but the folder " + ShownPath(folder_) + " could not be put on the disk.\n" +
                   e.CauseText());
  }
  fs_.Remove(In(TCommitRecord::kName));
  try {
    fs_.SyncFolder(folder_);
  } catch (const EFileError&) {
    // The pair is whole either way; a record found later is settled as complete.
  }
  for (const TCommitEntry& e : record.entries) fs_.Remove(In(e.previous));
}

}  // namespace iex
