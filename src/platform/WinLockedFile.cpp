#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "platform/Error.h"
#include "platform/LockedFile.h"
#include "platform/PathText.h"
#include "platform/WinText.h"

namespace iex {

using win::THandle;
using win::WideOfUtf8;

namespace {
class WinLock final : public TFileLock {
 public:
  explicit WinLock(THandle file) : file_(std::move(file)) {}  // closing releases the lock

 private:
  THandle file_;
};

[[noreturn]] void Fail(DWORD error, const std::string& path) {
  throw EMvError(EFileError::Cause(win::ErrnoOf(error)) + ": " + path);
}
}  // namespace

TLockedFile::TLockedFile(const std::string& path, bool exclusive) : path_(path) {
  const std::filesystem::path folder = PathOfText(path).parent_path();
  std::error_code ec;
  if (exclusive && !folder.empty()) std::filesystem::create_directories(folder, ec);
  const std::wstring lock = WideOfUtf8(path + ".lock");
  THandle file(CreateFileW(lock.c_str(), exclusive ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           exclusive ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return;  // nothing written yet, or a folder we may only read
  OVERLAPPED whole{};
  if (!LockFileEx(file.get(), exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0, 0, 1, 0, &whole)) return;
  lock_ = std::make_unique<WinLock>(std::move(file));
  // The lock file could be made in the folder; the file itself must not be read-only.
  const DWORD attributes = GetFileAttributesW(WideOfUtf8(path).c_str());
  writable_ = exclusive && (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY));
}

std::string TLockedFile::StampOf(const std::string& path) {
  THandle file(CreateFileW(WideOfUtf8(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) return std::string();
  auto both = [](DWORD high, DWORD low) { return std::to_string((static_cast<unsigned long long>(high) << 32) | low); };
  return std::to_string(info.dwVolumeSerialNumber) + ":" + both(info.nFileIndexHigh, info.nFileIndexLow) + ":" +
         both(info.nFileSizeHigh, info.nFileSizeLow) + ":" +
         both(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
}

void WriteFileAtomically(const std::string& path, const std::string& content) {
  const std::wstring target = WideOfUtf8(path);
  const std::wstring temp = WideOfUtf8(path + ".tmp." + std::to_string(GetCurrentProcessId()));
  DeleteFileW(temp.c_str());  // a stale file of a process that died
  THandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid()) Fail(GetLastError(), path + ".tmp");
  auto fail = [&](DWORD error) {
    file.Close();
    DeleteFileW(temp.c_str());
    Fail(error, path);
  };
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 30));
    if (!WriteFile(file.get(), content.data() + done, chunk, &n, nullptr) || n == 0) fail(GetLastError());
    done += n;
  }
  if (!FlushFileBuffers(file.get())) fail(GetLastError());
  if (!file.Close()) fail(GetLastError());
  if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) fail(GetLastError());
}

}  // namespace iex
