#include <windows.h>
#include <io.h>
#include <aclapi.h>

#include <atomic>

#include "platform/AnsiText.h"
#include "platform/Error.h"
#include "platform/Secrets.h"
#include "platform/WinText.h"

namespace iex {
namespace {

using win::THandle;

constexpr LONGLONG kMaxPasswordFile = 64 * 1024;

// The console's input mode while its echo is off, for the Ctrl-C handler:
// a console keeps its mode after the process ends.
std::atomic<HANDLE> gConsole{nullptr};
DWORD gSavedMode = 0;

BOOL WINAPI RestoreEcho(DWORD) {
  if (HANDLE console = gConsole.exchange(nullptr)) SetConsoleMode(console, gSavedMode);
  return FALSE;  // and the process ends as it would have
}

// Echo off for its lifetime; back on when it ends or Ctrl-C comes.
class QuietConsole {
 public:
  explicit QuietConsole(HANDLE console) {
    if (!GetConsoleMode(console, &gSavedMode)) return;
    gConsole = console;
    SetConsoleCtrlHandler(RestoreEcho, TRUE);
    SetConsoleMode(console, gSavedMode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  }
  ~QuietConsole() {
    if (HANDLE console = gConsole.exchange(nullptr)) SetConsoleMode(console, gSavedMode);
    SetConsoleCtrlHandler(RestoreEcho, FALSE);
  }
  QuietConsole(const QuietConsole&) = delete;
  QuietConsole& operator=(const QuietConsole&) = delete;
};

}  // namespace

TPasswordFileText ReadPasswordFile(const std::string& path) {
  THandle file(CreateFileW(win::WideOfUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(win::WideOfUtf8(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      throw EMvError("The password file " + path + " is not a regular file.");
    throw EMvError("Cannot read the password file " + ShownPath(path) + ". " +
                   (error == ERROR_FILE_NOT_FOUND ? std::string("The file does not exist.")
                                                  : EFileError::Cause(win::ErrnoOf(error))));
  }
  LARGE_INTEGER size{};
  if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size))
    throw EMvError("The password file " + path + " is not a regular file.");
  if (size.QuadPart > kMaxPasswordFile)
    throw EMvError("The password file " + path + " is larger than 64 KiB; it should hold the password alone.");
  std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD n = 0;
  if (!text.empty() && !ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &n, nullptr)) n = 0;
  text.resize(n);
  TPasswordFileText result;
  result.firstLine = text.substr(0, text.find('\n'));
  if (!result.firstLine.empty() && result.firstLine.back() == '\r') result.firstLine.pop_back();
  Wipe(text);
  return result;  // who may read it is the folder's access list, not the file's mode
}

std::optional<std::string> AskOnTerminal(const std::string& prompt) {
  THandle in(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr));
  THandle out(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr));
  if (!in.valid() || !out.valid()) return std::nullopt;
  const std::wstring shown = win::WideOfUtf8(prompt);
  DWORD n = 0;
  WriteConsoleW(out.get(), shown.data(), static_cast<DWORD>(shown.size()), &n, nullptr);
  std::wstring typed;
  {
    QuietConsole quiet(in.get());
    wchar_t c;
    while (ReadConsoleW(in.get(), &c, 1, &n, nullptr) && n == 1 && c != L'\n') typed += c;
  }
  WriteConsoleW(out.get(), L"\r\n", 2, &n, nullptr);
  if (!typed.empty() && typed.back() == L'\r') typed.pop_back();
  std::string password = win::Utf8OfWide(typed);
  SecureZeroMemory(typed.data(), typed.size() * sizeof(wchar_t));
  return password;
}

// No crash dump dialog or report that could carry the password off.
namespace {

// The process's access list from here on: the user's other programs and the
// system may wait for it, see it and end it, but not read its memory, write
// it or attach a debugger. OWNER RIGHTS takes from the owner the implicit
// right to change the list back. Only an administrator's debug privilege
// passes it. Kept for the process's life: the password may linger in freed memory.
void RestrictProcessAccess() noexcept {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
  alignas(TOKEN_USER) BYTE userBuffer[256];
  DWORD size = 0;
  const bool haveUser = GetTokenInformation(token, TokenUser, userBuffer, sizeof userBuffer, &size);
  CloseHandle(token);
  if (!haveUser) return;
  PSID user = reinterpret_cast<TOKEN_USER*>(userBuffer)->User.Sid;
  BYTE systemSid[SECURITY_MAX_SID_SIZE], ownerRights[SECURITY_MAX_SID_SIZE];
  DWORD systemSize = sizeof systemSid, ownerSize = sizeof ownerRights;
  if (!CreateWellKnownSid(WinLocalSystemSid, nullptr, systemSid, &systemSize) ||
      !CreateWellKnownSid(WinCreatorOwnerRightsSid, nullptr, ownerRights, &ownerSize))
    return;
  alignas(ACL) BYTE aclBuffer[1024];
  auto* acl = reinterpret_cast<ACL*>(aclBuffer);
  constexpr DWORD kMay = SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE;
  if (!InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION) || !AddAccessAllowedAce(acl, ACL_REVISION, kMay, user) ||
      !AddAccessAllowedAce(acl, ACL_REVISION, kMay, systemSid) ||
      !AddAccessAllowedAce(acl, ACL_REVISION, SYNCHRONIZE, ownerRights))
    return;
  SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                  nullptr, nullptr, acl, nullptr);
}

}  // namespace

TNoCoreDumps::TNoCoreDumps() noexcept
    : previous_(static_cast<int>(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX))) {
  RestrictProcessAccess();
}
TNoCoreDumps::~TNoCoreDumps() { SetErrorMode(static_cast<UINT>(previous_)); }

bool IsTerminal(std::FILE* f) noexcept {
  if (!f) return false;
  DWORD mode = 0;
  return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))), &mode) != 0;
}

}  // namespace iex
