#pragma once
// On Windows, the registry the program sees is redirected for a test's
// lifetime to a private key, so tests never touch the user's own settings:
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE each to a key of their own, and
// HKEY_USERS to a key whose one profile ("tester") is that HKEY_CURRENT_USER.
// The newest one alive is the one seen; when it goes, the one before comes
// back. Elsewhere the hive files of TempPaths stand in and this does nothing.
#ifdef _WIN32
#include <windows.h>

#include <string>
#include <vector>

namespace iex::test {

class TestRegistry {
 public:
  TestRegistry() {
    static unsigned made = 0;
    base_ = L"Software\\InvoiceExportTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++made);
    // A child process of RunInChildren works in its parent's registry.
    wchar_t parent[256];
    if (Bases().empty() && GetEnvironmentVariableW(L"IEX_CHILD_INDEX", parent, 256) &&
        GetEnvironmentVariableW(L"IEX_CHILD_REGISTRY", parent, 256)) {
      base_ = parent;
      owned_ = false;
    } else {
      SetEnvironmentVariableW(L"IEX_CHILD_REGISTRY", base_.c_str());
    }
    Restore();  // the keys are made under the real HKEY_CURRENT_USER
    Bases().push_back(base_);
    Redirect(base_);
  }
  ~TestRegistry() {
    Restore();
    if (owned_) {
      RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
      RegDeleteKeyW(HKEY_CURRENT_USER, base_.c_str());
      RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\InvoiceExportTests");  // only when no other test's key is left
    }
    Bases().pop_back();
    if (!Bases().empty()) {
      SetEnvironmentVariableW(L"IEX_CHILD_REGISTRY", Bases().back().c_str());
      Redirect(Bases().back());
    }
  }
  TestRegistry(const TestRegistry&) = delete;
  TestRegistry& operator=(const TestRegistry&) = delete;

 private:
  static std::vector<std::wstring>& Bases() {
    static std::vector<std::wstring> bases;
    return bases;
  }
  static void Restore() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_USERS, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  }
  // All made under the real HKEY_CURRENT_USER before any redirect.
  static void Redirect(const std::wstring& base) {
    HKEY user = Create(base + L"\\users\\tester"), users = Create(base + L"\\users"), machine = Create(base + L"\\machine");
    Override(HKEY_CURRENT_USER, user);
    Override(HKEY_USERS, users);
    Override(HKEY_LOCAL_MACHINE, machine);
  }
  static HKEY Create(const std::wstring& path) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
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
