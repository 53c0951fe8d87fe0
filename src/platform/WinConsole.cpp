#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "platform/Console.h"
#include "platform/WinText.h"

namespace iex {

std::vector<std::string> CommandLineWords(int, char**) {
  std::vector<std::string> words;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return words;
  for (int i = 1; i < count; ++i) words.push_back(win::Utf8OfWide(wide[i]));
  LocalFree(wide);
  return words;
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
  const std::wstring wide = win::WideOfUtf8(name);
  SetLastError(ERROR_SUCCESS);
  const DWORD size = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  if (size == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::string();  // set, and empty
  }
  std::wstring value(size, L'\0');
  const DWORD n = GetEnvironmentVariableW(wide.c_str(), value.data(), size);
  value.resize(n < size ? n : 0);
  std::string text = win::Utf8OfWide(value);
  SecureZeroMemory(value.data(), value.size() * sizeof(wchar_t));  // it may be a password
  return text;
}

namespace {

// The console belongs to the shell that started us: its code page goes back
// as it was, however the program ends.
UINT gShellOutputCP = 0;

void RestoreConsole() {
  if (gShellOutputCP) SetConsoleOutputCP(gShellOutputCP);
}

// Reached when nothing of ours handles the event (no run under way: at the
// password prompt, say). Ctrl-C ends with the documented status 1, not the
// system's STATUS_CONTROL_C_EXIT.
BOOL WINAPI EndOutsideARun(DWORD event) {
  RestoreConsole();
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) ExitProcess(1);
  return FALSE;
}

}  // namespace

// The windowed program (invoice-export.exe) started with words from a
// console: what it prints goes to that console, unless it was redirected.
void ShowOutputInParentConsole() {
  int words = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &words)) LocalFree(wide);
  if (words < 2 || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  auto unset = [](DWORD which) {
    HANDLE h = GetStdHandle(which);
    return h == nullptr || h == INVALID_HANDLE_VALUE;
  };
  if (unset(STD_OUTPUT_HANDLE)) std::freopen("CONOUT$", "w", stdout);
  if (unset(STD_ERROR_HANDLE)) std::freopen("CONOUT$", "w", stderr);
}

void PrepareConsole() {
  gShellOutputCP = GetConsoleOutputCP();  // 0 without a console
  if (!gShellOutputCP) {
    ShowOutputInParentConsole();
    gShellOutputCP = GetConsoleOutputCP();
  }
  if (!gShellOutputCP) return;
  SetConsoleOutputCP(CP_UTF8);
  std::atexit(RestoreConsole);
  SetConsoleCtrlHandler(EndOutsideARun, TRUE);
}

bool DisplayAvailable() { return true; }

std::string EngineLockFolder() { return std::string(); }

void UseUtf8FileNames() {}

}  // namespace iex
