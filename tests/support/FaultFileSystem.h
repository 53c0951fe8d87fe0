#pragma once
#include <cerrno>
#include <functional>
#include <utility>
#include <memory>
#include <string>

#include "platform/Error.h"
#include "platform/FileSystem.h"

namespace iex::test {

// The real file system, except that a chosen file fails: its writes once
// `failAtByte` bytes are in (the part before that byte is written), or its
// rename. In the spirit of LevelDB's fault-injection Env.
class FaultFileSystem : public TFileSystem {
 public:
  std::string target;          // a file whose path contains this text fails
  long failAtByte = -1;        // -1: writes do not fail
  int error = ENOSPC;          // the system error the failure reports
  bool failRename = false;
  std::function<void()> onFirstWrite;  // runs once, before the target's first bytes go out

  std::unique_ptr<TWritableFile> CreateExclusive(const std::string& path, unsigned mode) override {
    auto file = real_.CreateExclusive(path, mode);
    if (target.empty() || path.find(target) == std::string::npos) return file;
    return std::make_unique<Faulty>(std::move(file), *this, path);
  }
  void Rename(const std::string& from, const std::string& to) override {
    if (failRename && !target.empty() && to.find(target) != std::string::npos) throw EFileError(error, to);
    real_.Rename(from, to);
  }
  bool Link(const std::string& existing, const std::string& newPath) override { return real_.Link(existing, newPath); }
  bool Remove(const std::string& path) noexcept override { return real_.Remove(path); }
  void SyncFolder(const std::string& folder) override { real_.SyncFolder(folder); }
  std::vector<std::string> List(const std::string& folder) override { return real_.List(folder); }
  std::unique_ptr<TFileLock> TryLock(const std::string& path, const std::string& note, std::string& holder) override {
    return real_.TryLock(path, note, holder);
  }
  int ProcessId() const override { return real_.ProcessId(); }
  bool ProcessAlive(int pid) const override { return real_.ProcessAlive(pid); }

 private:
  class Faulty : public TWritableFile {
   public:
    Faulty(std::unique_ptr<TWritableFile> inner, FaultFileSystem& fs, std::string path)
        : inner_(std::move(inner)), fs_(fs), path_(std::move(path)) {}
    void Append(std::string_view data) override {
      if (fs_.onFirstWrite) std::exchange(fs_.onFirstWrite, nullptr)();
      if (fs_.failAtByte >= 0 && written_ + static_cast<long>(data.size()) > fs_.failAtByte) {
        inner_->Append(data.substr(0, static_cast<std::size_t>(fs_.failAtByte - written_)));
        written_ = fs_.failAtByte;
        throw EFileError(fs_.error, path_);
      }
      inner_->Append(data);
      written_ += static_cast<long>(data.size());
    }
    void Sync() override { inner_->Sync(); }
    void Close() override { inner_->Close(); }

   private:
    std::unique_ptr<TWritableFile> inner_;
    FaultFileSystem& fs_;
    std::string path_;
    long written_ = 0;
  };
  TFileSystem& real_ = DefaultFileSystem();
};

}  // namespace iex::test
