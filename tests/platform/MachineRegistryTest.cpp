// The machine's own registry, as Windows keeps it; the test's private key
// stands in for the user's (TestRegistry.h).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "TempPaths.h"
#include "platform/Error.h"
#include "platform/Registry.h"

namespace iex {
namespace {

class MachineRegistryTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  TPlatformPaths paths_ = test::TempPaths(dir_);  // no hive files: the machine's registry
  TRegistry reg_{paths_};
};

TEST_F(MachineRegistryTest, ValuesKeepTheirTypeAndEightBitText) {
  ASSERT_TRUE(reg_.OpenKey("\\Software\\MOVRA\\Caf\xE9", true));
  reg_.WriteStrings({{"Path", "C:\\Donn\xE9" "es\\agency.fdb"}, {"", "default"}});
  reg_.WriteInteger("Port", -2);
  reg_.WriteExpandString("Temp", "%TEMP%\\x");
  TRegistry other(paths_, TRegAccess::Read);
  ASSERT_TRUE(other.OpenKey("\\software\\movra\\CAF\xC9", false)) << "names compare without case";
  EXPECT_EQ(other.ReadString("Path"), "C:\\Donn\xE9" "es\\agency.fdb");
  EXPECT_EQ(other.ReadString(""), "default");
  EXPECT_EQ(other.ReadInteger("Port"), -2);
  EXPECT_EQ(other.GetDataType("Temp"), TRegDataType::rdExpandString);
  EXPECT_EQ(other.ReadString("Temp"), "%TEMP%\\x");  // read unexpanded
  EXPECT_THROW(other.ReadInteger("Path"), EMvError);
  EXPECT_THROW(other.WriteString("Path", "y"), EMvError) << "opened for reading";
  std::vector<std::string> names;
  other.GetValueNames(names);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"", "Path", "Port", "Temp"}));
}

TEST_F(MachineRegistryTest, KeysAreMadeListedRenamedAndDeletedWithWhatIsBelow) {
  EXPECT_FALSE(reg_.OpenKey("\\Software\\MOVRA\\ALIASES", false)) << "not made unless asked";
  ASSERT_TRUE(reg_.OpenKey("\\Software\\MOVRA\\ALIASES\\INTERBASE\\MAIN", true));
  reg_.WriteString("Port", "3050");
  ASSERT_TRUE(reg_.OpenKey("\\Software\\MOVRA\\ALIASES\\INTERBASE", false));
  reg_.WriteString("MAIN", "/db/main.fdb");
  reg_.RenameValue("MAIN", "RENAMED");
  EXPECT_FALSE(reg_.ValueExists("MAIN"));
  EXPECT_EQ(reg_.ReadString("RENAMED"), "/db/main.fdb");
  std::vector<std::string> keys;
  reg_.GetKeyNames(keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"MAIN"}));
  EXPECT_TRUE(reg_.DeleteKey("\\Software\\MOVRA\\ALIASES"));
  EXPECT_FALSE(reg_.KeyExists("\\Software\\MOVRA\\ALIASES"));
  EXPECT_FALSE(reg_.DeleteKey("\\Software\\MOVRA\\ALIASES")) << "nothing left to delete";
}

TEST_F(MachineRegistryTest, UsersHoldsTheCurrentUsersProfile) {
  ASSERT_TRUE(reg_.OpenKey("\\Software\\MOVRA\\ALIASES\\INTERBASE", true));
  reg_.WriteString("MINE", "/db/mine.fdb");
  TRegistry users(paths_, TRegAccess::Read);
  users.RootKey = THKey::Users;
  ASSERT_TRUE(users.OpenKey("\\", false));
  std::vector<std::string> profiles;
  users.GetKeyNames(profiles);
  ASSERT_EQ(profiles, (std::vector<std::string>{"tester"}));
  ASSERT_TRUE(users.OpenKey("\\tester\\Software\\MOVRA\\ALIASES\\INTERBASE", false));
  EXPECT_EQ(users.ReadString("MINE"), "/db/mine.fdb");
}

// A 32-bit agency program keeps the machine's aliases in the 32-bit view
// (Wow6432Node); a 64-bit one in the other. Both are read, the 64-bit first.
// The views exist only in the real HKEY_LOCAL_MACHINE (of the test's Wine
// prefix): no TempDir here, so nothing redirects it.
TEST(MachineRegistryViews, TheMachinesAliasesComeFromBothRegistryViews) {
  const TPlatformPaths paths_;
  const std::wstring key = L"Software\\IEX-Views-" + std::to_wstring(GetCurrentProcessId());
  auto put = [&](REGSAM view, const wchar_t* name, const wchar_t* data) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), static_cast<DWORD>((wcslen(data) + 1) * 2));
    RegCloseKey(k);
  };
  put(KEY_WOW64_64KEY, L"OWN", L"C:\\own.fdb");
  put(KEY_WOW64_64KEY, L"BOTH", L"C:\\new.fdb");
  put(KEY_WOW64_32KEY, L"BOTH", L"C:\\old.fdb");
  put(KEY_WOW64_32KEY, L"SAME", L"C:\\same.fdb");
  put(KEY_WOW64_64KEY, L"SAME", L"C:\\same.fdb");
  put(KEY_WOW64_32KEY, L"LEGACY", L"srv:C:\\legacy.fdb");

  const std::string path = "\\" + std::string(key.begin(), key.end());
  TRegistry machine(paths_, TRegAccess::AllAccess);
  machine.RootKey = THKey::LocalMachine;
  ASSERT_TRUE(machine.OpenKey(path, false));
  std::vector<std::string> names;
  machine.GetValueNames(names);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"BOTH", "BOTH (32-bit)", "LEGACY", "OWN", "SAME"}));
  EXPECT_EQ(machine.ReadString("BOTH"), "C:\\new.fdb");
  EXPECT_EQ(machine.ReadString("BOTH (32-bit)"), "C:\\old.fdb");
  EXPECT_EQ(machine.ReadString("LEGACY"), "srv:C:\\legacy.fdb");

  // Written where the 32-bit programs read.
  machine.WriteString("ADDED", "C:\\added.fdb");
  HKEY k = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &k), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(k, L"ADDED", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  RegCloseKey(k);
  // Deleted from both views: it does not come back from the other.
  machine.DeleteValue("SAME");
  EXPECT_FALSE(machine.ValueExists("SAME"));
  EXPECT_TRUE(machine.DeleteKey(path));
}

}  // namespace
}  // namespace iex
