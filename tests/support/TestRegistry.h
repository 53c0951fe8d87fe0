#pragma once
// On Windows, the registry the program sees is redirected for a test's
// lifetime to a private key, so tests never touch the user's own settings:
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE each to a key of their own, and
// HKEY_USERS to a key whose one profile is that HKEY_CURRENT_USER.
// Elsewhere the hive files of TempPaths stand in and this does nothing.
#ifdef _WIN32
#include <windows.h>

#include <string>

namespace iex::test {

class TestRegistry {
 public:
  TestRegistry() {
    base_ = L"Software\\InvoiceExportTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++Count());
    if (Count() > 1) return;  // one redirect at a time; nested folders share it
    // A child process of RunInChildren works in its parent's registry.
    wchar_t parent[256];
    if (GetEnvironmentVariableW(L"IEX_CHILD_INDEX", parent, 256) &&
        GetEnvironmentVariableW(L"IEX_CHILD_REGISTRY", parent, 256)) {
      base_ = parent;
      owned_ = false;
    } else {
      SetEnvironmentVariableW(L"IEX_CHILD_REGISTRY", base_.c_str());
    }
    // All made under the real HKEY_CURRENT_USER before any redirect.
    HKEY user = Create(L"\\users\\tester"), users = Create(L"\\users"), machine = Create(L"\\machine");
    Override(HKEY_CURRENT_USER, user);
    Override(HKEY_USERS, users);
    Override(HKEY_LOCAL_MACHINE, machine);
  }
  ~TestRegistry() {
    if (--Count() > 0) return;
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_USERS, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (!owned_) return;
    RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, base_.c_str());
  }
  TestRegistry(const TestRegistry&) = delete;
  TestRegistry& operator=(const TestRegistry&) = delete;

 private:
  static int& Count() {
    static int count = 0;
    return count;
  }
  HKEY Create(const std::wstring& below) const {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, (base_ + below).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
  }
  static void Override(HKEY root, HKEY key) {
    RegOverridePredefKey(root, key);
    RegCloseKey(key);
  }
  std::wstring base_;
  bool owned_ = true;
};

}  // namespace iex::test
#else
namespace iex::test {
struct TestRegistry {};
}  // namespace iex::test
#endif
