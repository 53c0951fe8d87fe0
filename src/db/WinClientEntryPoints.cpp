#include <windows.h>

#include <ibase.h>

#include <string>
#include <vector>

#include "db/ClientEntryPoints.h"
#include "db/DbError.h"
#include "platform/WinText.h"

// fbclient.dll is looked up when it is first needed, so the program starts,
// lists aliases and says what is missing on a machine without the client.
// It is loaded by its full path only: from the Firebird installation the
// registry names, then from the program's own folder; never from the current
// folder or PATH, where anyone may have put a file of that name.
namespace iex::db::fb {

namespace {
using MasterFunction = Firebird::IMaster*(ISC_EXPORT*)();
using SqlCodeFunction = ISC_LONG(ISC_EXPORT*)(const ISC_STATUS*);

struct Client {
  HMODULE module = nullptr;
  Firebird::IMaster* master = nullptr;
  SqlCodeFunction sqlCode = nullptr;
  std::string error;  // why there is no master interface
};

std::wstring WithSlash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder;
}

// The folders of the Firebird servers installed, in both registry views.
std::vector<std::wstring> FirebirdFolders() {
  std::vector<std::wstring> folders;
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Firebird Project\\Firebird Server\\Instances", 0,
                      KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
      continue;
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof value - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key, L"DefaultInstance", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && value[0]) {
      const std::wstring root = WithSlash(value);
      folders.push_back(root);           // Firebird 3 and later
      folders.push_back(root + L"bin\\");  // Firebird 2.5
    }
    RegCloseKey(key);
  }
  return folders;
}

std::wstring ProgramFolder() {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::string WindowsErrorText(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring w = text ? text : L"";
  if (text) LocalFree(text);
  while (!w.empty() && (w.back() == L'\r' || w.back() == L'\n' || w.back() == L' ' || w.back() == L'.')) w.pop_back();
  return win::AnsiOfWide(w);
}

std::string LoadFailure(const std::wstring& path, DWORD code) {
  const std::string shown = win::AnsiOfWide(path);
  switch (code) {
    case ERROR_BAD_EXE_FORMAT:
      return "The Firebird client library " + shown +
             " is not a 64-bit Windows library (Windows error 193): install the 64-bit Firebird client";
    case ERROR_MOD_NOT_FOUND:
      return "The Firebird client library " + shown +
             " needs a library that is missing (Windows error 126): repair or reinstall the Firebird client";
    default:
      return "The Firebird client library " + shown + " could not be loaded (Windows error " + std::to_string(code) +
             ": " + WindowsErrorText(code) + ")";
  }
}

Client Load() {
  Client c;
  std::vector<std::wstring> folders = FirebirdFolders();
  folders.push_back(ProgramFolder());
  std::wstring searched;
  for (const std::wstring& folder : folders) {
    if (folder.empty()) continue;
    const std::wstring path = folder + L"fbclient.dll";
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      searched += (searched.empty() ? L"" : L"; ") + folder;
      continue;
    }
    // Its own folder first for what it needs (ICU, the runtime), then the system's.
    c.module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (!c.module) {
      c.error = LoadFailure(path, GetLastError());
      return c;
    }
    // The engine loads its plugins and ICU by name: from its own folder.
    AddDllDirectory(folder.c_str());
    const auto master =
        reinterpret_cast<MasterFunction>(reinterpret_cast<void*>(GetProcAddress(c.module, "fb_get_master_interface")));
    c.sqlCode = reinterpret_cast<SqlCodeFunction>(reinterpret_cast<void*>(GetProcAddress(c.module, "isc_sqlcode")));
    if (!master || !c.sqlCode) {
      c.error = "The library " + win::AnsiOfWide(path) +
                " is not a Firebird 3 client (it has no fb_get_master_interface): install the Firebird 3 client";
      return c;
    }
    c.master = master();
    if (!c.master)
      c.error = "The Firebird client library " + win::AnsiOfWide(path) +
                " gave no master interface: repair or reinstall the Firebird client";
    return c;
  }
  c.error = "The Firebird client library fbclient.dll was not found (looked in " + win::AnsiOfWide(searched) +
            "): install the Firebird client, or put fbclient.dll beside this program";
  return c;
}

// Loaded once and kept for the life of the process: the engine's threads
// live in it.
const Client& TheClient() {
  static const Client client = Load();
  return client;
}
}  // namespace

Firebird::IMaster* LoadMasterInterface() {
  const Client& c = TheClient();
  if (!c.master) throw EDatabaseError(c.error, 0);
  return c.master;
}

ISC_LONG SqlCodeOf(const ISC_STATUS* status) { return TheClient().sqlCode ? TheClient().sqlCode(status) : 0; }

bool ClientLibraryLoaded() noexcept { return TheClient().master != nullptr; }

}  // namespace iex::db::fb
