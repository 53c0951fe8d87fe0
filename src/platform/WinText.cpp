#include "platform/WinText.h"

#include <restartmanager.h>

#include <cerrno>


namespace iex::win {

std::wstring WideOfUtf8(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8OfWide(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return utf8;
}

std::wstring WideOfAnsi(std::string_view ansi) {
  if (ansi.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return wide;
}

// No best fit: a character the code page lacks becomes "?", never a look-alike.
std::string AnsiOfWide(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                    "?", nullptr);
  std::string ansi(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), ansi.data(), n, "?",
                      nullptr);
  return ansi;
}

int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EBUSY;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE: return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_DIRECTORY: return EISDIR;
    case ERROR_CANT_RESOLVE_FILENAME: return ELOOP;
    default: return EIO;
  }
}

std::string ProgramsHolding(const std::vector<std::wstring>& files) {
  DWORD session = 0;
  wchar_t key[CCH_RM_SESSION_KEY + 1] = {};
  if (RmStartSession(&session, 0, key) != ERROR_SUCCESS) return std::string();
  std::vector<LPCWSTR> names;
  for (const std::wstring& f : files) names.push_back(f.c_str());
  std::string holders;
  UINT needed = 0, count = 0;
  DWORD reasons = 0;
  std::vector<RM_PROCESS_INFO> found;
  if (RmRegisterResources(session, static_cast<UINT>(names.size()), names.data(), 0, nullptr, 0, nullptr) == ERROR_SUCCESS &&
      RmGetList(session, &needed, &count, nullptr, &reasons) == ERROR_MORE_DATA && needed > 0) {
    found.resize(needed);
    count = needed;
    if (RmGetList(session, &needed, &count, found.data(), &reasons) == ERROR_SUCCESS) {
      for (UINT i = 0; i < count; ++i) {
        if (!holders.empty()) holders += ", ";
        holders += AnsiOfWide(found[i].strAppName) + " (pid " + std::to_string(found[i].Process.dwProcessId) + ")";
      }
    }
  }
  RmEndSession(session);
  return holders;
}

}  // namespace iex::win
