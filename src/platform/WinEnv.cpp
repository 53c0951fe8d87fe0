#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/CivilDate.h"
#include "platform/Env.h"
#include "platform/WinText.h"

namespace iex {
namespace {

using win::AnsiOfWide;

std::wstring LocaleText(LCTYPE item) {
  wchar_t buf[128] = {};
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buf, 128);
  return n > 1 ? std::wstring(buf, static_cast<std::size_t>(n - 1)) : std::wstring();
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path))) folder = win::Utf8OfWide(path);
  CoTaskMemFree(path);
  return folder;
}

class WinEnv final : public Env {
 public:
  // Read once, as the program starts; the user's regional settings, which
  // the Control Panel sets (a pattern such as "dd.MM.yyyy" already).
  WinEnv() {
    const std::string pattern = AnsiOfWide(LocaleText(LOCALE_SSHORTDATE));
    if (!pattern.empty()) settings_.shortDateFormat = pattern;
    for (char c : settings_.shortDateFormat)
      if (c != 'd' && c != 'M' && c != 'y') {
        settings_.dateSeparator = c;
        break;
      }
    for (int m = 0; m < 12; ++m) {
      std::string n = AnsiOfWide(LocaleText(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + m)));
      while (!n.empty() && n.back() == '.') n.pop_back();
      if (!n.empty()) settings_.shortMonthNames[static_cast<std::size_t>(m)] = n;
    }
    const std::string decimal = AnsiOfWide(LocaleText(LOCALE_SDECIMAL));
    if (decimal.size() == 1) settings_.decimalSeparator = decimal[0];
  }

  RegionalSettings Regional() const override { return settings_; }

  // Root-relative paths hang from the drive of the current folder.
  std::string FileSystemRoot() const override {
    // Any length: a long-path-aware program may stand in a folder deeper than MAX_PATH.
    std::wstring buf(GetCurrentDirectoryW(0, nullptr), L'\0');
    const DWORD n = buf.empty() ? 0 : GetCurrentDirectoryW(static_cast<DWORD>(buf.size()), buf.data());
    if (n >= 2 && n < buf.size() && buf[1] == L':') return win::Utf8OfWide(buf.substr(0, 2)) + "\\";
    return "\\";
  }

  std::string ProgramFolder() const override {
    std::wstring buf(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0 || n >= buf.size()) return ".\\";
    buf.resize(n);
    return win::Utf8OfWide(buf.substr(0, buf.find_last_of(L"\\/") + 1));
  }

  // The registry is the machine's own: no hive files.
  TPlatformPaths Paths() const override {
    TPlatformPaths p;
    p.userAppData = KnownFolder(FOLDERID_RoamingAppData);
    p.commonAppData = KnownFolder(FOLDERID_ProgramData);
    wchar_t name[256] = {};
    DWORD size = 256;
    p.userProfileName = GetUserNameW(name, &size) ? win::Utf8OfWide(name) : "user";
    return p;
  }

  DateValue Now() const override {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return DateValueOfCivil(t.wYear, t.wMonth, t.wDay,
                            t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0);
  }

 private:
  RegionalSettings settings_;
};

}  // namespace

Env& DefaultEnv() {
  static auto& env = *new WinEnv;  // never destroyed, as the file system
  return env;
}

}  // namespace iex
