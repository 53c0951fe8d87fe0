#pragma once
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <vector>
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
// - links can be refused, as FAT, exFAT and many SMB shares refuse them;
// - with `powerLoss`, the crash is a power cut: bytes not synced are lost,
//   and so is every create, rename, link and removal that no sync of its
//   folder followed (undone newest first).
class FaultFileSystem : public TFileSystem {
 public:
  std::string target;          // a file whose path contains this text fails
  long failAtByte = -1;        // -1: writes do not fail
  int error = ENOSPC;          // the system error the failure reports
  bool failRename = false;
  long failChange = -1;        // the change that fails; -1: none
  long crashAfter = -1;        // the change after which the process dies; -1: never
  bool refuseLinks = false;
  bool powerLoss = false;      // the crash loses what was not made durable
  long changes = 0;            // counted so far
  bool crashed = false;
  int linkError = 0;                   // every link fails with this error number (ENOSPC: the disk is full)
  std::function<void()> onFirstWrite;  // runs once, before the target's first bytes go out

  std::unique_ptr<TWritableFile> CreateExclusive(const std::string& path, unsigned mode) override {
    std::unique_ptr<TWritableFile> file;
    Change(path, [&] {
      file = real_.CreateExclusive(path, mode);
      synced_[path] = 0;
      Journal({TOp::Create, path, "", false, ""});
    });
    return std::make_unique<Faulty>(std::move(file), *this, path);
  }
  void Rename(const std::string& from, const std::string& to) override {
    Change(to, [&] {
      if (failRename && !target.empty() && to.find(target) != std::string::npos) throw EFileError(error, to);
      std::string replaced;
      const bool hadOld = Bytes(to, replaced);
      real_.Rename(from, to);
      if (const auto it = synced_.find(from); it != synced_.end()) {
        synced_[to] = it->second;
        synced_.erase(it);
      } else {
        synced_.erase(to);
      }
      Journal({TOp::Rename, from, to, hadOld, replaced});
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
        if (made) Journal({TOp::Link, newPath, "", false, ""});
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
      Change(path, [&] {
        std::string bytes;
        const bool had = Bytes(path, bytes);
        removed = real_.Remove(path);
        if (removed && had) Journal({TOp::Remove, path, "", true, bytes});
        if (removed) synced_.erase(path);
      });
    } catch (...) {
    }
    return removed;
  }
  bool Exists(const std::string& path) noexcept override { return real_.Exists(path); }
  bool IsFolder(const std::string& path) noexcept override { return real_.IsFolder(path); }
  TLeadsTo LeadsTo(const std::string& path) noexcept override { return real_.LeadsTo(path); }
  std::unique_ptr<TReadableFile> OpenForReading(const std::string& path) override { return real_.OpenForReading(path); }
  void SyncFolder(const std::string& folder) override {
    Change(folder, [&] {
      real_.SyncFolder(folder);
      // What this folder's entries became is durable now.
      const std::string synced = Folder(folder + "/x");
      journal_.erase(std::remove_if(journal_.begin(), journal_.end(),
                                    [&](const TOp& op) { return Folder(op.path) == synced; }),
                     journal_.end());
    });
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
      if (powerLoss) LoseWhatWasNotDurable();
      throw TCrash{};
    }
  }

  // A change to a folder's entries, lost at a power cut unless the folder is synced after it.
  struct TOp {
    enum Kind { Create, Rename, Link, Remove } kind;
    std::string path, to;  // Rename: from `path` to `to`
    bool hadOld;           // Rename: `to` existed; Remove: always
    std::string bytes;     // what that file held
  };
  void Journal(TOp op) {
    if (powerLoss) journal_.push_back(std::move(op));
  }
  static std::string Folder(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().parent_path().string();
  }
  // What a plain file holds, for the power cut to put back (links and the rest are not modelled).
  bool Bytes(const std::string& path, std::string& bytes) {
    std::error_code ec;
    if (!powerLoss || !std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ec))) return false;
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
  }
  void Restore(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
  void LoseWhatWasNotDurable() {
    std::error_code ec;
    for (const auto& [path, size] : synced_) std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size), ec);
    for (auto op = journal_.rbegin(); op != journal_.rend(); ++op) {
      switch (op->kind) {
        case TOp::Create:
        case TOp::Link: std::filesystem::remove(op->path, ec); break;
        case TOp::Rename:
          std::filesystem::rename(op->to, op->path, ec);
          if (op->hadOld) Restore(op->to, op->bytes);
          break;
        case TOp::Remove: Restore(op->path, op->bytes); break;
      }
    }
    journal_.clear();
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
    void Sync() override {
      fs_.Change(path_, [&] {
        inner_->Sync();
        if (const auto it = fs_.synced_.find(path_); it != fs_.synced_.end()) it->second = written_;
      });
    }
    void Close() override { fs_.Change(path_, [&] { inner_->Close(); }); }

   private:
    std::unique_ptr<TWritableFile> inner_;
    FaultFileSystem& fs_;
    std::string path_;
    long written_ = 0;
  };
  TFileSystem& real_ = DefaultFileSystem();
  std::map<std::string, long> synced_;  // files made here: the bytes on the disk for sure
  std::vector<TOp> journal_;            // folder changes no folder sync has followed yet
};

}  // namespace iex::test
