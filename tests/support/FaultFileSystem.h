#pragma once
#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/Error.h"
#include "platform/FileSystem.h"

namespace iex::test {

// The process "died" here: nothing after it reaches the disk.
struct TCrash {};

// The real file system, with faults on demand, in the spirit of LevelDB's
// fault-injection Env:
// - a chosen file's writes fail once `failAtByte` bytes are in (the part
//   before that byte is written), or its rename fails;
// - the Nth change to the disk (create, write, sync, close, rename, link,
//   remove, folder sync; counted from 1) fails with `error`;
// - after the Nth change the process "crashes": every later change is
//   dropped, cleanup included, and TCrash is raised;
// - links can be refused, as FAT, exFAT and many SMB shares refuse them.
class FaultFileSystem : public TFileSystem {
 public:
  std::string target;          // a file whose path contains this text fails
  long failAtByte = -1;        // -1: writes do not fail
  int error = ENOSPC;          // the system error the failure reports
  bool failRename = false;
  long failChange = -1;        // the change that fails; -1: none
  long crashAfter = -1;        // the change after which the process dies; -1: never
  bool refuseLinks = false;
  long changes = 0;            // counted so far
  bool crashed = false;
  int linkError = 0;                   // every link fails with this error number (ENOSPC: the disk is full)
  std::function<void()> onFirstWrite;  // runs once, before the target's first bytes go out

  std::unique_ptr<TWritableFile> CreateExclusive(const std::string& path, unsigned mode) override {
    std::unique_ptr<TWritableFile> file;
    Change(path, [&] { file = real_.CreateExclusive(path, mode); });
    return std::make_unique<Faulty>(std::move(file), *this, path);
  }
  void Rename(const std::string& from, const std::string& to) override {
    Change(to, [&] {
      if (failRename && !target.empty() && to.find(target) != std::string::npos) throw EFileError(error, to);
      real_.Rename(from, to);
    });
  }
  bool Link(const std::string& existing, const std::string& newPath, int* error) noexcept override {
    bool made = false;
    try {
      Change(newPath, [&] {
        if (linkError != 0) {
          if (error) *error = linkError;
          return;
        }
        made = !refuseLinks && real_.Link(existing, newPath, error);
        if (refuseLinks && error) *error = EPERM;
      });
    } catch (...) {
      // A crash here shows at the next change; a failure is a link not made.
      if (error) *error = EIO;
    }
    return made;
  }
  bool Remove(const std::string& path) noexcept override {
    if (crashed) return false;
    bool removed = false;
    try {
      Change(path, [&] { removed = real_.Remove(path); });
    } catch (...) {
    }
    return removed;
  }
  bool Exists(const std::string& path) noexcept override { return real_.Exists(path); }
  bool IsFolder(const std::string& path) noexcept override { return real_.IsFolder(path); }
  std::unique_ptr<TReadableFile> OpenForReading(const std::string& path) override { return real_.OpenForReading(path); }
  void SyncFolder(const std::string& folder) override {
    Change(folder, [&] { real_.SyncFolder(folder); });
  }
  std::vector<std::string> List(const std::string& folder) override { return real_.List(folder); }
  std::unique_ptr<TFileLock> TryLock(const std::string& path, const std::string& note, std::string& holder) override {
    return real_.TryLock(path, note, holder);
  }
  int ProcessId() const override { return real_.ProcessId(); }
  bool ProcessAlive(int pid) const override { return real_.ProcessAlive(pid); }

 private:
  // One change to the disk: dropped after a crash, failed or crashed on demand.
  template <typename Do>
  void Change(const std::string& path, Do act) {
    if (crashed) throw TCrash{};
    ++changes;
    if (changes == failChange) throw EFileError(error == ENOSPC ? EIO : error, path);
    act();
    if (changes == crashAfter) {
      crashed = true;
      throw TCrash{};
    }
  }

  class Faulty : public TWritableFile {
   public:
    Faulty(std::unique_ptr<TWritableFile> inner, FaultFileSystem& fs, std::string path)
        : inner_(std::move(inner)), fs_(fs), path_(std::move(path)) {}
    void Append(std::string_view data) override {
      const bool targeted = !fs_.target.empty() && path_.find(fs_.target) != std::string::npos;
      if (targeted && fs_.onFirstWrite) std::exchange(fs_.onFirstWrite, nullptr)();
      fs_.Change(path_, [&] {
        if (targeted && fs_.failAtByte >= 0 && written_ + static_cast<long>(data.size()) > fs_.failAtByte) {
          inner_->Append(data.substr(0, static_cast<std::size_t>(fs_.failAtByte - written_)));
          written_ = fs_.failAtByte;
          throw EFileError(fs_.error, path_);
        }
        inner_->Append(data);
        written_ += static_cast<long>(data.size());
      });
    }
    void Sync() override { fs_.Change(path_, [&] { inner_->Sync(); }); }
    void Close() override { fs_.Change(path_, [&] { inner_->Close(); }); }

   private:
    std::unique_ptr<TWritableFile> inner_;
    FaultFileSystem& fs_;
    std::string path_;
    long written_ = 0;
  };
  TFileSystem& real_ = DefaultFileSystem();
};

}  // namespace iex::test
