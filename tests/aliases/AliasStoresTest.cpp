// What must not break the alias list: an all-users store this user may not
// write, a name a file cannot hold, a default value in the alias key.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempPaths.h"
#include "aliases/AliasList.h"
#include "platform/Registry.h"

namespace iex {
namespace {

using Lines = std::vector<std::string>;

class AliasStoresTest : public ::testing::Test {
 protected:
  void Registry(bool global, const std::string& name, const std::string& path) {
    TAliasRegistry r(TAliasDBType::adtIB, paths_);
    r.GlobalAliases = global;
    r.AddAlias(name, path);
  }
  Lines Display(TAliasList& list) {
    Lines lines;
    list.GetAliasDisplayNames(lines);
    return lines;
  }
  test::TempDir dir_;
  TPlatformPaths paths_ = test::TempPaths(dir_);
};

TEST_F(AliasStoresTest, AnAllUsersFolderThatCannotBeWrittenStillListsEverythingAndWarnsOnce) {
  // As for a user who is not root: the all-users folder cannot be made.
  test::WriteFile(dir_.File("readonly"), "");
  paths_.commonAppData = dir_.File("readonly");
  Registry(true, "Shared", "/shared.fdb");
  Registry(false, "Mine", "/mine.fdb");
  TAliasList list(true, TAliasDBType::adtIB, paths_);
  EXPECT_EQ(Display(list), (Lines{"Mine", "Shared"}));
  EXPECT_EQ(list.GetPathForAliasName("Shared"), "/shared.fdb");
  const Lines warnings = list.TakeWarnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find(GetGlobalAliasFilePath(paths_, TAliasDBType::adtIB)), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[0].find("invoice-export aliases --seed-global"), std::string::npos) << warnings[0];
  EXPECT_EQ(Display(list), (Lines{"Mine", "Shared"}));
  EXPECT_TRUE(list.TakeWarnings().empty()) << "said once";
}

TEST_F(AliasStoresTest, SeedingLeavesOutARefusedNameAndKeepsEveryOther) {
  for (const char* name : {"Alpha", "Main ", "Zulu"}) Registry(false, name, std::string("/") + name + ".fdb");
  TAliasList list(true, TAliasDBType::adtIB, paths_);
  EXPECT_EQ(Display(list), (Lines{"Alpha", "Zulu"}));
  const Lines warnings = list.TakeWarnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("\"Main \""), std::string::npos) << warnings[0];
  TAliasList later(true, TAliasDBType::adtIB, paths_);
  EXPECT_EQ(Display(later), (Lines{"Alpha", "Zulu"})) << "nothing lost for good";
}

TEST_F(AliasStoresTest, TheAliasKeysDefaultValueIsNoAlias) {
  TRegistry seed(paths_);
  ASSERT_TRUE(seed.OpenKey("\\Software\\MOVRA\\ALIASES\\INTERBASE", true));
  seed.WriteString("", "");
  seed.WriteString("Main", "/main.fdb");
  TAliasList files(true, TAliasDBType::adtIB, paths_), registry(false, TAliasDBType::adtIB, paths_);
  EXPECT_EQ(Display(files), (Lines{"Main"}));
  EXPECT_EQ(Display(registry), (Lines{"Main"}));
  EXPECT_TRUE(files.TakeWarnings().empty());
}

}  // namespace
}  // namespace iex
