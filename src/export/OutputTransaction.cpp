#include "export/OutputTransaction.h"

#include <cstdlib>

#include "platform/AnsiText.h"
#include "platform/Error.h"

namespace iex {
namespace {
constexpr const char* kPartialTag = ".partial-";
constexpr const char* kPreviousTag = ".previous-";
}

std::string TOutputTransaction::PartialName(const std::string& name, int pid) {
  return "." + name + kPartialTag + std::to_string(pid);
}

TOutputTransaction::TOutputTransaction(TFileSystem& fs, std::string folder) : fs_(fs), folder_(std::move(folder)) {
  while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
  const std::string lockPath = folder_ + "/" + kLockName;
  std::string holder;
  try {
    lock_ = fs_.TryLock(lockPath, "pid " + std::to_string(fs_.ProcessId()) + "\n", holder);
  } catch (const EFileError& e) {
    throw EMvError(TLineWriter::FailureText(lockPath, EFileError::Cause(e.Error())));
  }
  if (!lock_) {
    while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\0')) holder.pop_back();
    throw EMvError("Another export is writing into " + ShownPath(folder_) + (holder.empty() ? "" : " (" + holder + ")") +
                   ".\nWait for it to end, or choose another folder. Nothing was changed.");
  }
  RemoveStalePartials();
}

TOutputTransaction::~TOutputTransaction() {
  if (committed_) return;
  for (const auto& file : files_)
    if (!file.first.empty()) fs_.Remove(file.first);
}

void TOutputTransaction::RemoveStalePartials() {
  for (const std::string& name : fs_.List(folder_)) {
    if (name.empty() || name[0] != '.') continue;
    for (const char* tag : {kPartialTag, kPreviousTag}) {
      const auto at = name.rfind(tag);
      if (at == std::string::npos) continue;
      const std::string digits = name.substr(at + std::char_traits<char>::length(tag));
      if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
      const int pid = std::atoi(digits.c_str());
      if (pid == fs_.ProcessId() || !fs_.ProcessAlive(pid)) fs_.Remove(folder_ + "/" + name);
    }
  }
}

TLineWriter TOutputTransaction::Create(const std::string& name) {
  const std::string temp = folder_ + "/" + PartialName(name, fs_.ProcessId());
  try {
    auto file = fs_.CreateExclusive(temp, kFileMode);
    files_.emplace_back(temp, FinalPath(name));
    return TLineWriter(std::move(file), FinalPath(name));
  } catch (const EFileError& e) {
    throw EMvError(TLineWriter::FailureText(FinalPath(name), EFileError::Cause(e.Error())));
  }
}

void TOutputTransaction::Commit() {
  // The previous files keep a second name until all new ones are in place,
  // so a rename that fails half-way puts the previous pair back.
  std::vector<std::string> backups;
  auto undo = [&](std::size_t renamed) {
    for (std::size_t i = 0; i < renamed; ++i) {
      const std::string& final = files_[i].second;
      if (!backups[i].empty()) {
        try {
          fs_.Rename(backups[i], final);
        } catch (const EMvError&) {
        }
      } else {
        fs_.Remove(final);
      }
    }
    for (const std::string& b : backups)
      if (!b.empty()) fs_.Remove(b);
  };
  for (const auto& [temp, final] : files_) {
    const std::string name = final.substr(final.rfind('/') + 1);
    std::string backup = folder_ + "/." + name + kPreviousTag + std::to_string(fs_.ProcessId());
    fs_.Remove(backup);
    try {
      if (!fs_.Link(final, backup)) backup.clear();
    } catch (const EFileError& e) {
      undo(0);
      throw EMvError(TLineWriter::FailureText(final, EFileError::Cause(e.Error())));
    }
    backups.push_back(backup);
  }
  for (std::size_t i = 0; i < files_.size(); ++i) {
    try {
      fs_.Rename(files_[i].first, files_[i].second);
    } catch (const EFileError& e) {
      undo(i);
      throw EMvError(TLineWriter::FailureText(files_[i].second, EFileError::Cause(e.Error())));
    }
  }
  for (const std::string& b : backups)
    if (!b.empty()) fs_.Remove(b);
  for (auto& file : files_) file.first.clear();  // in place: no longer ours to remove
  committed_ = true;
  try {
    fs_.SyncFolder(folder_);
  } catch (const EFileError& e) {
    throw EMvError("The import files are in place, but the folder " + ShownPath(folder_) + " could not be put on the disk.\n" +
                   EFileError::Cause(e.Error()));
  }
}

}  // namespace iex
