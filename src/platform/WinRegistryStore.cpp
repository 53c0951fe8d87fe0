#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/Error.h"
#include "platform/RegistryStore.h"
#include "platform/WinText.h"

namespace iex {
namespace {

using win::AnsiOfWide;
using win::WideOfAnsi;

// An open registry key, closed when it goes.
class TKeyHandle {
 public:
  TKeyHandle() = default;
  ~TKeyHandle() {
    if (key_) RegCloseKey(key_);
  }
  TKeyHandle(const TKeyHandle&) = delete;
  TKeyHandle& operator=(const TKeyHandle&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

HKEY RootOf(THKey root) {
  switch (root) {
    case THKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case THKey::Users: return HKEY_USERS;
    default: return HKEY_CURRENT_USER;
  }
}

// HKLM\SOFTWARE has two views on 64-bit Windows. The agency's 32-bit
// programs read and write the 32-bit one (Wow6432Node); this 64-bit program
// reads both, the 64-bit view first, and writes where they read.
constexpr REGSAM kView64 = KEY_WOW64_64KEY, kView32 = KEY_WOW64_32KEY;
constexpr const char* kView32Suffix = " (32-bit)";

REGSAM WriteView(THKey root) { return root == THKey::LocalMachine ? kView32 : 0; }

bool Open(THKey root, const std::string& path, REGSAM access, TKeyHandle& key, REGSAM view = 0) {
  if (root != THKey::LocalMachine) view = 0;
  return RegOpenKeyExW(RootOf(root), WideOfAnsi(path).c_str(), 0, access | view, key.out()) == ERROR_SUCCESS;
}

// The name without its view suffix, and the view it names.
std::pair<std::string, REGSAM> SplitView(const std::string& name) {
  const std::string suffix = kView32Suffix;
  if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
    return {name.substr(0, name.size() - suffix.size()), kView32};
  return {name, 0};
}

// Strings go in as UTF-16 with their terminating zero; everything else as
// the raw bytes the program holds.
LSTATUS Set(HKEY key, const TRegValue& value) {
  const std::wstring name = WideOfAnsi(value.name);
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
    const std::wstring text = WideOfAnsi(value.data);
    return RegSetValueExW(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  return RegSetValueExW(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                        static_cast<DWORD>(value.data.size()));
}

std::optional<TRegValue> Get(HKEY key, const std::string& name) {
  const std::wstring wname = WideOfAnsi(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  std::string bytes(size, '\0');
  if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  bytes.resize(size);
  TRegValue v{name, type, bytes};
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    v.data = AnsiOfWide(text);
  }
  return v;
}

// Our own writers take turns, so values written together by one process are
// never interleaved with another's.
class TWriteTurn {
 public:
  TWriteTurn() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\InvoiceExport.Registry")) {
    if (mutex_) WaitForSingleObject(mutex_, INFINITE);  // an abandoned turn is taken over
  }
  ~TWriteTurn() {
    if (!mutex_) return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  TWriteTurn(const TWriteTurn&) = delete;
  TWriteTurn& operator=(const TWriteTurn&) = delete;

 private:
  HANDLE mutex_;
};

class TMachineRegistry final : public TRegistryStore {
 private:
  // The names one of the registry's enumerations gives, in its order.
  template <typename Enumerate>
  static std::vector<std::string> Names(THKey root, const std::string& path, REGSAM access, REGSAM view, DWORD room,
                                        Enumerate next) {
    std::vector<std::string> names;
    TKeyHandle key;
    if (!Open(root, path, access, key, view)) return names;
    std::wstring name(room, L'\0');
    for (DWORD i = 0;; ++i) {
      DWORD length = room;
      if (next(key.get(), i, name.data(), &length) != ERROR_SUCCESS) break;
      names.push_back(AnsiOfWide(std::wstring_view(name.data(), length)));
    }
    return names;
  }

  // The 64-bit view's names, then those only the 32-bit view has. A name
  // both hold with different data shows twice, the 32-bit one marked.
  template <typename Enumerate>
  std::vector<std::string> BothViews(THKey root, const std::string& path, REGSAM access, DWORD room, Enumerate next,
                                     bool markDifferent) {
    std::vector<std::string> names = Names(root, path, access, kView64, room, next);
    if (root != THKey::LocalMachine) return names;
    const std::size_t own = names.size();
    for (const std::string& name : Names(root, path, access, kView32, room, next)) {
      const auto end = names.begin() + static_cast<std::ptrdiff_t>(own);
      if (std::find(names.begin(), end, name) == end)
        names.push_back(name);
      else if (markDifferent && ValueIn(root, path, name, kView64) != ValueIn(root, path, name, kView32))
        names.push_back(name + kView32Suffix);
    }
    return names;
  }

  static std::optional<TRegValue> ValueIn(THKey root, const std::string& path, const std::string& name, REGSAM view) {
    TKeyHandle key;
    if (!Open(root, path, KEY_QUERY_VALUE, key, view)) return std::nullopt;
    return Get(key.get(), name);
  }

 public:
  bool KeyExists(THKey root, const std::string& path) override {
    TKeyHandle key;
    return Open(root, path, KEY_READ, key, kView64) || Open(root, path, KEY_READ, key, kView32);
  }

  bool PrepareWrite(THKey root, const std::string& path, bool canCreate) override {
    TKeyHandle key;
    if (!canCreate) return Open(root, path, KEY_READ | KEY_WRITE, key, WriteView(root));
    return RegCreateKeyExW(RootOf(root), WideOfAnsi(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_READ | KEY_WRITE | WriteView(root), nullptr, key.out(), nullptr) == ERROR_SUCCESS;
  }

  std::optional<TRegValue> Value(THKey root, const std::string& path, const std::string& name) override {
    const auto [plain, view] = SplitView(name);
    if (view == kView32 && root == THKey::LocalMachine) {
      std::optional<TRegValue> v = ValueIn(root, path, plain, kView32);
      if (v) v->name = name;
      return v;
    }
    if (std::optional<TRegValue> v = ValueIn(root, path, name, kView64)) return v;
    return root == THKey::LocalMachine ? ValueIn(root, path, name, kView32) : std::nullopt;
  }

  std::vector<std::string> ValueNames(THKey root, const std::string& path) override {
    // 16,383 characters: the longest value name the registry allows.
    return BothViews(root, path, KEY_QUERY_VALUE, 16384,
                     [](HKEY key, DWORD i, wchar_t* name, DWORD* length) {
                       return RegEnumValueW(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
                     },
                     true);
  }

  std::vector<std::string> SubKeyNames(THKey root, const std::string& path) override {
    // 255 characters: the longest key name.
    return BothViews(root, path, KEY_ENUMERATE_SUB_KEYS, 256,
                     [](HKEY key, DWORD i, wchar_t* name, DWORD* length) {
                       return RegEnumKeyExW(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
                     },
                     false);
  }

  // Each value is written whole; the first failure ends the call.
  bool SetValues(THKey root, const std::string& path, const std::vector<TRegValue>& values) override {
    TWriteTurn turn;
    TKeyHandle key;
    if (!Open(root, path, KEY_SET_VALUE, key, WriteView(root))) return false;
    for (const TRegValue& v : values)
      if (Set(key.get(), v) != ERROR_SUCCESS) return false;
    return true;
  }

  // From every view that holds it: a deleted alias does not come back from the other.
  bool DeleteValue(THKey root, const std::string& path, const std::string& name) override {
    const auto [plain, marked] = SplitView(name);
    bool deleted = false;
    for (REGSAM view : {kView64, kView32}) {
      if (marked && view != marked) continue;
      TKeyHandle key;
      if (Open(root, path, KEY_SET_VALUE, key, view) && RegDeleteValueW(key.get(), WideOfAnsi(marked ? plain : name).c_str()) == ERROR_SUCCESS)
        deleted = true;
      if (root != THKey::LocalMachine) break;
    }
    return deleted;
  }

  bool DeleteKey(THKey root, const std::string& path) override {
    if (path.empty() || !KeyExists(root, path)) return false;
    const std::string parent = path.find('\\') == std::string::npos ? std::string() : path.substr(0, path.rfind('\\'));
    const std::string leaf = path.substr(parent.empty() ? 0 : parent.size() + 1);
    const std::wstring wleaf = WideOfAnsi(leaf);
    for (REGSAM view : {kView64, kView32}) {
      TKeyHandle key;
      if (!Open(root, parent, KEY_ALL_ACCESS, key, view)) continue;
      // RegDeleteTreeW takes the key with what is below it; RegDeleteKeyExW
      // after it covers systems whose RegDeleteTreeW leaves the key itself.
      RegDeleteTreeW(key.get(), wleaf.c_str());
      RegDeleteKeyExW(key.get(), wleaf.c_str(), root == THKey::LocalMachine ? view : 0, 0);
      if (root != THKey::LocalMachine) break;
    }
    return !KeyExists(root, path);
  }

  bool RenameValue(THKey root, const std::string& path, const std::string& oldName, const std::string& newName) override {
    TKeyHandle key;
    if (!Open(root, path, KEY_QUERY_VALUE | KEY_SET_VALUE, key, WriteView(root))) return false;
    if (Get(key.get(), newName)) return false;
    std::optional<TRegValue> v = Get(key.get(), oldName);
    if (!v) return false;
    v->name = newName;
    return Set(key.get(), *v) == ERROR_SUCCESS && RegDeleteValueW(key.get(), WideOfAnsi(oldName).c_str()) == ERROR_SUCCESS;
  }
};

}  // namespace

std::unique_ptr<TRegistryStore> MachineRegistryStore() { return std::make_unique<TMachineRegistry>(); }

}  // namespace iex
