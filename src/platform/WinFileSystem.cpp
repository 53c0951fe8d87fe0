#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/WinText.h"

namespace iex {
namespace {

using win::THandle;
using win::WideOfUtf8;

// How long a rename waits for a program holding the file to let it go.
constexpr DWORD kRenameWaitMs = 5000;

// Whether another program has the file open without sharing its deletion.
bool HeldByAnother(const std::wstring& path) {
  THandle probe(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return !probe.valid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

[[noreturn]] void Fail(const std::string& path) { throw EFileError(win::ErrnoOf(GetLastError()), path); }

class WinWritableFile final : public TWritableFile {
 public:
  WinWritableFile(THandle file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}
  void Append(std::string_view data) override {
    while (!data.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
      DWORD written = 0;
      if (!WriteFile(file_.get(), data.data(), chunk, &written, nullptr)) Fail(path_);
      if (written == 0) throw EFileError(EIO, path_);
      data.remove_prefix(written);
    }
  }
  void Sync() override {
    if (!FlushFileBuffers(file_.get())) Fail(path_);
  }
  void Close() override {
    if (file_.valid() && !file_.Close()) Fail(path_);
  }

 private:
  THandle file_;
  std::string path_;
};

class WinReadableFile final : public TReadableFile {
 public:
  WinReadableFile(THandle file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    DWORD n = 0;
    if (!ReadFile(file_.get(), buffer, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &n, nullptr)) Fail(path_);
    return n;
  }

 private:
  THandle file_;
  std::string path_;
};

class WinFileLock final : public TFileLock {
 public:
  explicit WinFileLock(THandle file) : file_(std::move(file)) {}  // closing releases the lock

 private:
  THandle file_;
};

// Never follows a link: a reparse point is opened as itself.
constexpr DWORD kNoFollow = FILE_FLAG_OPEN_REPARSE_POINT;

class WinFileSystem final : public TFileSystem {
 public:
  // Windows has no mode bits: the file takes the folder's access list.
  std::unique_ptr<TWritableFile> CreateExclusive(const std::string& path, unsigned) override {
    THandle file(CreateFileW(WideOfUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL | kNoFollow, nullptr));
    if (!file.valid()) Fail(path);
    return std::make_unique<WinWritableFile>(std::move(file), path);
  }

  // MoveFileExW replaces a link itself, never its target. A program that
  // holds the old file open without FILE_SHARE_DELETE (the accounting
  // program reading it, an editor, the indexer, a virus scanner) makes the
  // rename fail for a while: it is tried again for a few seconds, then the
  // message names who holds the file.
  void Rename(const std::string& from, const std::string& to) override {
    const std::wstring source = WideOfUtf8(from), target = WideOfUtf8(to);
    DWORD err = ERROR_SUCCESS;
    for (DWORD waited = 0, pause = 50;; waited += pause, pause = std::min<DWORD>(pause * 2, 1000)) {
      if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
      err = GetLastError();
      // Windows says "access denied" both for a file in use and for a real
      // lack of rights: only the first is worth the wait.
      if (err == ERROR_ACCESS_DENIED && (HeldByAnother(target) || HeldByAnother(source))) err = ERROR_SHARING_VIOLATION;
      const bool held = err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION;
      if (!held || waited >= kRenameWaitMs) break;
      Sleep(pause);
    }
    // Windows answers "access denied" for a folder in the way; say what it is.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) throw EFileError(EISDIR, to);
    if (err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION) {
      const std::string holders = win::ProgramsHolding({target, source});
      throw EFileError(EBUSY, to,
                       (holders.empty() ? std::string("Close the program that has it open") : "It is open in " + holders +
                                                                                             ": close it there") +
                           " and export again.");
    }
    throw EFileError(win::ErrnoOf(err), to);
  }

  // FAT, exFAT and many SMB shares refuse hard links: the caller keeps the
  // previous file another way.
  bool Link(const std::string& existing, const std::string& newPath, int* error) noexcept override {
    if (CreateHardLinkW(WideOfUtf8(newPath).c_str(), WideOfUtf8(existing).c_str(), nullptr) != 0) return true;
    if (error) *error = GetLastError() == ERROR_DISK_FULL ? ENOSPC : EPERM;
    return false;
  }

  bool Remove(const std::string& path) noexcept override { return DeleteFileW(WideOfUtf8(path).c_str()) != 0; }

  bool Exists(const std::string& path) noexcept override {
    return GetFileAttributesW(WideOfUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool IsFolder(const std::string& path) noexcept override {
    const DWORD a = GetFileAttributesW(WideOfUtf8(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT);
  }

  TLeadsTo LeadsTo(const std::string& path) noexcept override {
    const DWORD a = GetFileAttributesW(WideOfUtf8(path).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return TLeadsTo::Nothing;
    return (a & FILE_ATTRIBUTE_DIRECTORY) ? TLeadsTo::Folder : TLeadsTo::Other;
  }

  std::unique_ptr<TReadableFile> OpenForReading(const std::string& path) override {
    THandle file(CreateFileW(WideOfUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | kNoFollow, nullptr));
    if (!file.valid()) {
      const DWORD err = GetLastError();
      if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) return nullptr;
      throw EFileError(win::ErrnoOf(err), path);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
      throw EFileError(EINVAL, path);
    return std::make_unique<WinReadableFile>(std::move(file), path);
  }

  // NTFS journals renames; a folder opened for writing can also be flushed,
  // which some file systems allow and others refuse (nothing more to do then).
  void SyncFolder(const std::string& folder) override {
    THandle handle(CreateFileW(WideOfUtf8(folder).c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle.valid()) FlushFileBuffers(handle.get());
  }

  std::vector<std::string> List(const std::string& folder) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WideOfUtf8(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(win::Utf8OfWide(found.cFileName));
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
  }

  std::unique_ptr<TFileLock> TryLock(const std::string& path, const std::string& note, std::string& holder) override {
    THandle file(CreateFileW(WideOfUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | kNoFollow, nullptr));
    if (!file.valid()) Fail(path);
    // Never through a link or a second name of another file.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) Fail(path);
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw ELockRefused(path, "is a folder");
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) throw ELockRefused(path, "is a link");
    if (info.nNumberOfLinks != 1) throw ELockRefused(path, "has a second name (a hard link)");
    // The note sits after the locked byte range, so the holder can write it
    // and a second run can read it while the lock is held.
    constexpr DWORD kNoteAt = 1;
    OVERLAPPED at{};
    if (!LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      const DWORD err = GetLastError();
      char buf[256];
      DWORD n = 0;
      OVERLAPPED from{};
      from.Offset = kNoteAt;
      if (!ReadFile(file.get(), buf, sizeof buf, &n, &from)) n = 0;
      // Only a note of our own form is shown, never other bytes of the file.
      const std::string note(buf, n);
      if (note.rfind("pid ", 0) == 0 && note.size() > 4 && note.size() < 16 &&
          note.find_first_not_of("0123456789", 4) == std::string::npos)
        holder = note;
      if (err == ERROR_LOCK_VIOLATION || err == ERROR_IO_PENDING) return nullptr;
      throw EFileError(win::ErrnoOf(err), path);
    }
    // Who holds it, for the message a second run shows.
    OVERLAPPED to{};
    to.Offset = kNoteAt;
    DWORD written = 0;
    if (WriteFile(file.get(), note.data(), static_cast<DWORD>(note.size()), &written, &to)) {
      LARGE_INTEGER end;
      end.QuadPart = kNoteAt + static_cast<LONGLONG>(note.size());
      if (SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN)) SetEndOfFile(file.get());
    }
    return std::make_unique<WinFileLock>(std::move(file));
  }

  int ProcessId() const override { return static_cast<int>(GetCurrentProcessId()); }

  bool ProcessAlive(int pid) const override {
    if (pid <= 0) return false;
    THandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    if (!process.valid()) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    return GetExitCodeProcess(process.get(), &code) && code == STILL_ACTIVE;
  }
};

}  // namespace

TFileSystem& DefaultFileSystem() {
  // Never destroyed: a run still ending while the process exits keeps using it.
  static auto& fs = *new WinFileSystem;
  return fs;
}

}  // namespace iex
