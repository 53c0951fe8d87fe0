#include <gtest/gtest.h>

#include "TempPaths.h"
#include "platform/Error.h"
#include "platform/Registry.h"

namespace iex {
namespace {

const char* const kHive =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; written by hand\r\n"
    "[HKEY_CURRENT_USER\\Software\\MOVRA\\ALIASES\\INTERBASE]\r\n"
    "\"MAIN\"=\"c:\\\\db\\\\main.gdb\"\r\n"
    "\"Quoted \\\"one\\\"\"=\"x\"\r\n"
    "\"Expand\"=hex(2):25,00,54,00,4d,00,50,00,25,00,00,00\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\MOVRA\\ALIASES\\INTERBASE\\MAIN]\r\n"
    "\"Port\"=dword:00000bea\r\n"
    "\"Big\"=hex(b):01,02,03,04,05,06,07,08\r\n"
    "\"Bytes\"=hex:01,\\\r\n"
    "  02\r\n";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteFile(paths_.userHive, kHive); }
  test::TempDir dir_;
  TPlatformPaths paths_ = test::HivePaths(dir_);
  TRegistry reg_{paths_};
};

TEST_F(RegistryTest, ReadsAHandWrittenHive) {
  ASSERT_TRUE(reg_.OpenKeyReadOnly("\\software\\movra\\aliases\\interbase"));
  std::vector<std::string> names;
  reg_.GetValueNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"MAIN", "Quoted \"one\"", "Expand"}));
  EXPECT_EQ(reg_.ReadString("main"), "c:\\db\\main.gdb");
  EXPECT_EQ(reg_.ReadString("Expand"), "%TMP%");  // read unexpanded
  EXPECT_THROW(reg_.ReadInteger("MAIN"), EMvError);
  std::vector<std::string> keys;
  reg_.GetKeyNames(keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"MAIN"}));
  ASSERT_TRUE(reg_.OpenKeyReadOnly("MAIN"));  // below the open key
  EXPECT_EQ(reg_.ReadInteger("Port"), 3050);
  try {
    reg_.ReadString("Port");
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Port'");
  }
  try {
    reg_.ReadInteger("Big");
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'Big'");
  }
  EXPECT_EQ(reg_.GetDataType("Bytes"), TRegDataType::rdBinary);
  EXPECT_FALSE(reg_.KeyExists("\\Software\\Nope"));
  EXPECT_FALSE(reg_.OpenKeyReadOnly("\\Software\\Nope"));
}

TEST_F(RegistryTest, WritesKeepTheFormatAndOtherValues) {
  ASSERT_TRUE(reg_.OpenKey("\\Software\\MOVRA\\ALIASES\\INTERBASE", false));
  reg_.WriteString("NEW", "srv:/db/new.fdb");
  reg_.WriteInteger("Count", -2);
  reg_.RenameValue("MAIN", "Renamed");
  reg_.RenameValue("NEW", "Expand");  // taken: nothing changes
  EXPECT_TRUE(reg_.DeleteValue("Quoted \"one\""));
  EXPECT_FALSE(reg_.DeleteValue("Quoted \"one\""));
  const std::string text = test::ReadFile(paths_.userHive);
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
  EXPECT_NE(text.find("\"NEW\"=\"srv:/db/new.fdb\""), std::string::npos);
  EXPECT_NE(text.find("\"Count\"=dword:fffffffe"), std::string::npos);
  EXPECT_NE(text.find("\"Big\"=hex(b):01,02,03,04,05,06,07,08"), std::string::npos);
  std::vector<std::string> names;
  reg_.GetValueNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Expand", "NEW", "Count", "Renamed"}));
  EXPECT_EQ(reg_.ReadString("Renamed"), "c:\\db\\main.gdb");
  EXPECT_EQ(reg_.ReadInteger("Count"), -2);
  EXPECT_EQ(reg_.ReadString("Expand"), "%TMP%");
  EXPECT_TRUE(reg_.DeleteKey("\\Software\\MOVRA\\ALIASES"));
  EXPECT_FALSE(reg_.KeyExists("\\Software\\MOVRA\\ALIASES\\INTERBASE\\MAIN"));
  EXPECT_TRUE(reg_.KeyExists("\\Software\\MOVRA"));
}

TEST_F(RegistryTest, CreatesKeysAndHivesAndShowsTheUserAsTheOneProfile) {
  reg_.RootKey = THKey::LocalMachine;
  EXPECT_FALSE(reg_.OpenKey("\\Software\\X", false));
  ASSERT_TRUE(reg_.OpenKey("\\Software\\X", true));
  reg_.WriteString("", "default");
  EXPECT_NE(test::ReadFile(paths_.machineHive).find("[HKEY_LOCAL_MACHINE\\Software\\X]\r\n@=\"default\""), std::string::npos);
  reg_.RootKey = THKey::Users;
  ASSERT_TRUE(reg_.OpenKey("\\", false));
  std::vector<std::string> profiles;
  reg_.GetKeyNames(profiles);
  EXPECT_EQ(profiles, (std::vector<std::string>{"tester"}));
  EXPECT_TRUE(reg_.KeyExists("\\tester\\Software\\MOVRA\\ALIASES\\INTERBASE"));
  EXPECT_FALSE(reg_.KeyExists("\\someone\\Software"));
}

TEST_F(RegistryTest, UnwritableHiveRefusesWriteAccessButReads) {
  paths_.machineHive = "/proc/iex-cannot-write/HKEY_LOCAL_MACHINE.reg";
  TRegistry reg(paths_);
  reg.RootKey = THKey::LocalMachine;
  EXPECT_FALSE(reg.OpenKey("\\Software\\MOVRA", true));
  EXPECT_FALSE(reg.KeyExists("\\Software\\MOVRA"));
  reg.Access = TRegAccess::Read;
  EXPECT_FALSE(reg.OpenKey("\\Software\\MOVRA", false));
}

TEST_F(RegistryTest, BrokenHiveNamesFileAndLineAndIsNeverOverwritten) {
  const std::string broken = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=what\r\n";
  test::WriteFile(paths_.userHive, broken);
  try {
    reg_.OpenKey("\\A", true);
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_EQ(std::string(e.what()), paths_.userHive + ", line 4: \"what\" is no value this store can hold");
  }
  EXPECT_THROW(reg_.KeyExists("\\A"), EMvError);
  EXPECT_EQ(test::ReadFile(paths_.userHive), broken);
  test::WriteFile(paths_.userHive, "REGEDIT5\r\n");
  EXPECT_THROW(reg_.KeyExists("\\A"), EMvError);
  test::WriteFile(paths_.userHive, "Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\A]\r\n");
  EXPECT_THROW(reg_.KeyExists("\\A"), EMvError);
}

TEST_F(RegistryTest, ReadsUtf16ExportsFromWindows) {
  const std::string utf8 = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"Caf\xC3\xA9\"=\"x\"\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"Caf"))
    utf16 += c, utf16 += '\0';
  utf16 += "\xE9";
  utf16 += '\0';
  for (char c : std::string("\"=\"x\"\r\n")) utf16 += c, utf16 += '\0';
  for (const std::string& text : {utf8, utf16}) {
    test::WriteFile(paths_.userHive, text);
    ASSERT_TRUE(reg_.OpenKeyReadOnly("\\K"));
    EXPECT_EQ(reg_.ReadString("Caf\xE9"), "x");
  }
}

}  // namespace
}  // namespace iex
