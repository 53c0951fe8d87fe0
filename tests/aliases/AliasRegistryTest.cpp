#include <gtest/gtest.h>

#include <algorithm>

#include "TempPaths.h"
#include "aliases/AliasRegistry.h"
#include "platform/Error.h"
#include "platform/Registry.h"

namespace iex {
namespace {

class AliasRegistryTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  TPlatformPaths paths_ = test::TempPaths(dir_);
  TAliasRegistry local_{TAliasDBType::adtIB, paths_};
  TAliasRegistry Global() {
    TAliasRegistry g(TAliasDBType::adtIB, paths_);
    g.GlobalAliases = true;
    return g;
  }
};

TEST_F(AliasRegistryTest, ReadsDefaultsAndWrongTypes) {
  TRegistry seed(paths_);
  ASSERT_TRUE(seed.OpenKey("\\Software\\MOVRA\\ALIASES\\INTERBASE", true));
  seed.WriteString("MAIN", "c:\\db\\main.gdb");
  seed.WriteInteger("BAD", 1);
  ASSERT_TRUE(seed.OpenKey("BAD", true));
  seed.WriteString("Port", "3050");
  std::vector<std::string> names{"stale"};
  local_.GetAliasNames(names);
  std::sort(names.begin(), names.end());  // the registry's order is its own
  EXPECT_EQ(names, (std::vector<std::string>{"BAD", "MAIN"}));
  EXPECT_EQ(local_.AliasCount(), 2);
  EXPECT_TRUE(local_.AliasExists("main"));
  EXPECT_EQ(local_.AliasPath("MAIN"), "c:\\db\\main.gdb");
  EXPECT_EQ(local_.AliasPort("MAIN"), 8090);
  EXPECT_TRUE(local_.AliasIBEventsEnabled("MAIN"));
  EXPECT_EQ(local_.AliasPath("NONE"), "");
  try {
    local_.AliasPath("BAD");
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'BAD'");
  }
  EXPECT_THROW(local_.AliasPort("BAD"), EMvError);
  TAliasRegistry g = Global();
  g.GetAliasNames(names);
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(g.ModifyPath("X", "y"));  // a missing alias key is not created
}

TEST_F(AliasRegistryTest, AddModifyRenameDelete) {
  EXPECT_TRUE(local_.AddAlias("MAIN", "old", 3050, false));
  EXPECT_TRUE(local_.AddAlias("MAIN", "c:\\db\\main.gdb", 3051, true));  // replaces path and settings
  EXPECT_EQ(local_.AliasPath("MAIN"), "c:\\db\\main.gdb");
  EXPECT_EQ(local_.AliasPort("MAIN"), 3051);
  EXPECT_TRUE(local_.ModifyPath("NEW", "/db/new.fdb"));  // creates the alias, path only
  EXPECT_EQ(local_.AliasPort("NEW"), 8090);
  EXPECT_TRUE(local_.ModifyAliasName("MAIN", "NEW"));  // taken: nothing changes
  EXPECT_EQ(local_.AliasPath("MAIN"), "c:\\db\\main.gdb");
  EXPECT_TRUE(local_.ModifyAliasName("MAIN", "RENAMED"));
  EXPECT_EQ(local_.AliasPath("RENAMED"), "c:\\db\\main.gdb");
  EXPECT_EQ(local_.AliasPort("RENAMED"), 8090);  // settings stay with the old name
  EXPECT_TRUE(local_.DeleteAlias("RENAMED"));
  EXPECT_FALSE(local_.AliasExists("RENAMED"));
  TAliasRegistry g = Global();
  EXPECT_TRUE(g.ModifyPort("X", 1));  // creates alias key and settings subkey, no path value
  EXPECT_FALSE(g.AliasExists("X"));
  EXPECT_EQ(g.AliasPort("X"), 1);
}

TEST_F(AliasRegistryTest, BackslashNamesUseASlashedSettingsKey) {
  ASSERT_TRUE(local_.AddAlias("A\\B", "p", 1, false));
  EXPECT_EQ(local_.AliasPort("A\\B"), 1);
  EXPECT_EQ(local_.AliasPort("A/B"), 1);  // they share one settings subkey
  TRegistry reg(paths_);
  EXPECT_TRUE(reg.KeyExists("\\Software\\MOVRA\\ALIASES\\INTERBASE\\A/B"));
  EXPECT_TRUE(local_.DeleteAlias("A\\B"));
  EXPECT_FALSE(reg.KeyExists("\\Software\\MOVRA\\ALIASES\\INTERBASE\\A/B"));
}

TEST_F(AliasRegistryTest, MovesBetweenScopes) {
  local_.AddAlias("MAIN", "/db/main.fdb", 3050, false);
  try {
    local_.MoveAliasLocal("MAIN");
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_STREQ(e.what(), "MAIN is already a local alias.");
  }
  local_.MoveAliasGlobal("MAIN");
  EXPECT_FALSE(local_.AliasExists("MAIN"));
  TAliasRegistry g = Global();
  EXPECT_EQ(g.AliasPath("MAIN"), "/db/main.fdb");
  EXPECT_EQ(g.AliasPort("MAIN"), 3050);
  EXPECT_FALSE(g.AliasIBEventsEnabled("MAIN"));
  EXPECT_THROW(g.MoveAliasGlobal("MAIN"), EMvError);
  local_.MoveAliasGlobal("GHOST");  // a name the local scope does not hold
  EXPECT_EQ(g.AliasPath("GHOST"), "");
  EXPECT_TRUE(g.AliasExists("GHOST"));
}

// A machine hive the user may not write is a file's matter here; on Windows
// it is the registry's access list, which a test cannot take away.
#ifndef _WIN32
TEST_F(AliasRegistryTest, MachineHiveWithoutWriteRights) {
  paths_.machineHive = "/proc/iex-cannot-write/HKEY_LOCAL_MACHINE.reg";
  TAliasRegistry g(TAliasDBType::adtIB, paths_);
  g.GlobalAliases = true;
  EXPECT_FALSE(g.AddAlias("MAIN", "x"));
  EXPECT_FALSE(g.AddAlias("MAIN", "x", 1, true));
  EXPECT_FALSE(g.ModifyPort("MAIN", 1));
  TAliasRegistry l(TAliasDBType::adtIB, paths_);
  l.AddAlias("MAIN", "x", 1, true);
  try {
    l.MoveAliasGlobal("MAIN");
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_STREQ(e.what(), "Alias move failed");
  }
  EXPECT_TRUE(l.AliasExists("MAIN"));
  EXPECT_FALSE(l.GlobalAliases);
}
#endif

}  // namespace
}  // namespace iex
