#include <windows.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Error.h"
#include "platform/FileSystem.h"
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
}  // namespace

std::string TLockedFile::Read() const {
  if (!Exists()) return std::string();
  std::ifstream in(PathOfText(path_), std::ios::binary);
  if (!in) throw EMvError(std::string(std::strerror(errno)) + ": " + path_);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

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

// Through the file system's own writable file: a new temporary file beside
// the target, on the disk before it is moved over the old one.
// Windows has no mode bits (the file takes the folder's access list), and
// CreateFileW and MoveFileExW never follow a link at the temporary name.
void WriteFileAtomically(const std::string& path, const std::string& content, const TAtomicWrite&) {
  TFileSystem& files = DefaultFileSystem();
  const std::string temp = path + ".tmp." + std::to_string(files.ProcessId());
  files.Remove(temp);  // a stale file of a process that died
  try {
    auto file = files.CreateExclusive(temp, 0600);
    file->Append(content);
    file->Sync();
    file->Close();
    files.Rename(temp, path);
  } catch (const EFileError& e) {
    files.Remove(temp);
    throw EMvError(e.CauseText() + ": " + path);
  }
}

}  // namespace iex
