#include <gtest/gtest.h>

#include "TempPaths.h"
#include "aliases/AliasList.h"
#include "platform/Error.h"

namespace iex {
namespace {

class AliasListTest : public ::testing::Test {
 protected:
  void Registry(bool global, const std::string& name, const std::string& path) {
    TAliasRegistry r(TAliasDBType::adtIB, paths_);
    r.GlobalAliases = global;
    r.AddAlias(name, path);
  }
  std::vector<std::string> Display(TAliasList& list) {
    std::vector<std::string> lines;
    list.GetAliasDisplayNames(lines);
    return lines;
  }
  test::TempDir dir_;
  TPlatformPaths paths_ = test::TempPaths(dir_);
  std::vector<std::string> questions_;
  TAliasList files_{true, TAliasDBType::adtIB, paths_, [this](const std::string& q) {
                      questions_.push_back(q);
                      return true;
                    }};
};

using Lines = std::vector<std::string>;

TEST_F(AliasListTest, SeedsMissingFilesFromTheRegistryInNameOrder) {
  Registry(false, "zeta", "/z.fdb");
  Registry(false, "Alpha", "/a.fdb");
  EXPECT_EQ(Display(files_), (Lines{"Alpha", "zeta"}));
  EXPECT_EQ(test::ReadFile(GetLocalAliasFilePath(paths_, TAliasDBType::adtIB)).substr(0, 40),
            "[ALIASES]\r\nAlpha=/a.fdb\r\nzeta=/z.fdb\r\n\r\n");
  EXPECT_FALSE(std::filesystem::exists(GetGlobalAliasFilePath(paths_, TAliasDBType::adtIB)));
  // Once a file exists, later registry changes no longer reach it.
  Registry(false, "late", "/l.fdb");
  EXPECT_EQ(Display(files_), (Lines{"Alpha", "zeta"}));
}

TEST_F(AliasListTest, DuplicatesAcrossScopesShowTheirScope) {
  Registry(true, "MAIN", "/global.fdb");
  Registry(false, "main", "/local.fdb");
  Registry(false, "only", "/only.fdb");
  Registry(true, "caf\xE9", "/1.fdb");
  Registry(false, "CAF\xC9", "/2.fdb");  // the same name: case is folded beyond a to z
  Registry(false, "\xC9t\xE9", "/3.fdb");
  const Lines lines = Display(files_);
  EXPECT_EQ(lines.size(), 6u);
  // Accented letters sort with their base letter, the same on every machine.
  EXPECT_EQ(lines, (Lines{"caf\xE9 (global)", "CAF\xC9 (local)", "\xC9t\xE9", "MAIN (global)", "main (local)", "only"}));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "MAIN (global)"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "main (local)"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "only"), lines.end());
  EXPECT_EQ(files_.GetPathForAliasName("\xE9T\xC9"), "/3.fdb");
  EXPECT_EQ(files_.GetPathForAliasName("Main"), files_.AliasPath(files_.IndexOfAliasName("MAIN")));
  EXPECT_EQ(files_.GetPathForAliasName("MAIN (global)"), "");
  EXPECT_EQ(files_.GetPathForAliasName("only"), "/only.fdb");
  EXPECT_EQ(files_.AliasIsGlobal(files_.IndexOfAliasDisplayName("MAIN (global)")), true);
  EXPECT_EQ(files_.AliasIsGlobal(files_.IndexOfAliasDisplayName("main (local)")), false);
  EXPECT_EQ(files_.IndexOfAliasDisplayName("only (global)"), -1);
  EXPECT_EQ(files_.IndexOfAliasDisplayName("nothing"), -1);
  EXPECT_THROW(files_.AliasName(99), EMvError);
}

TEST_F(AliasListTest, EmptyStoresGiveAnEmptyList) {
  Lines lines{"stale"};
  files_.GetAliasDisplayNames(lines);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(files_.Count(), 0);
}

TEST_F(AliasListTest, DeletedAliasesStayDeleted) {
  Registry(false, "GONE", "/g.fdb");
  Registry(false, "KEPT", "/k.fdb");
  files_.RefreshList();
  EXPECT_TRUE(files_.DeleteAlias("GONE", false));
  EXPECT_FALSE(files_.DeleteAlias("GONE", false));
  EXPECT_EQ(Display(files_), (Lines{"KEPT"}));
  EXPECT_FALSE(TAliasRegistry(TAliasDBType::adtIB, paths_).AliasExists("GONE"));
}

TEST_F(AliasListTest, AddingToOneScopeRemovesFromTheOther) {
  files_.RefreshList();
  EXPECT_TRUE(files_.AddAlias(false, "X", "/local.fdb", 1, true));
  files_.RefreshList();
  EXPECT_TRUE(files_.AddAlias(true, "X", "/global.fdb", 2, false));
  EXPECT_EQ(Display(files_), (Lines{"X"}));
  EXPECT_TRUE(files_.AliasIsGlobal(0));
  EXPECT_EQ(files_.AliasPort(0), 2);
  EXPECT_THROW(files_.AddAlias(false, "ALIASES", "/x", 1, true), EMvError);
}

TEST_F(AliasListTest, EditingThroughTheIndexedProperties) {
  files_.AddAlias(false, "A", "/a.fdb", 1, true);
  files_.AddAlias(false, "B", "/b.fdb", 2, true);
  files_.RefreshList();
  files_.SetAliasPath(0, "/a2.fdb");
  EXPECT_EQ(files_.AliasPath(0), "/a2.fdb");
  files_.SetAliasPort(0, 7);
  files_.SetAliasIBEventsEnabled(0, false);
  EXPECT_EQ(files_.AliasPort(0), 7);
  EXPECT_FALSE(files_.AliasIBEventsEnabled(0));
  files_.SetAliasName(0, "C");  // no entry holds C: no question
  EXPECT_TRUE(questions_.empty());
  EXPECT_EQ(Display(files_), (Lines{"B", "C"}));
  files_.SetAliasName(1, "B");  // taken: asked, answered Yes
  ASSERT_FALSE(questions_.empty());
  EXPECT_EQ(questions_[0], "The alias \"B\" already exists! Save over existing alias?");
  EXPECT_EQ(Display(files_), (Lines{"B"}));
  EXPECT_EQ(files_.AliasPath(0), "/a2.fdb");
  files_.SetAliasIsGlobal(0, true);
  EXPECT_EQ(Display(files_), (Lines{"B"}));
  EXPECT_TRUE(files_.AliasIsGlobal(0));
  EXPECT_FALSE(TAliasFile(false, TAliasDBType::adtIB, paths_).AliasExists("B"));
  EXPECT_TRUE(TAliasFile(true, TAliasDBType::adtIB, paths_).AliasExists("B"));
}

TEST_F(AliasListTest, RegistryBasedListAndProfiles) {
  TAliasList reg(false, TAliasDBType::adtORACLE, paths_, nullptr);
  Registry(false, "LOCAL", "/l.fdb");  // InterBase key: the Oracle list shows nothing
  EXPECT_TRUE(Display(reg).empty());
  EXPECT_TRUE(reg.AnyLocalAliasExist("local"));  // looks in the InterBase key whatever the type
  EXPECT_FALSE(reg.AnyLocalAliasExist("other"));
  reg.DBType = TAliasDBType::adtIB;
  EXPECT_EQ(Display(reg), (Lines{"LOCAL"}));
  reg.SetAliasIsGlobal(0, true);
  EXPECT_TRUE(reg.AliasIsGlobal(0));
  EXPECT_FALSE(reg.AnyLocalAliasExist("LOCAL"));
}

// A name the user gives means one alias or none: exact names first, a
// scope suffix honoured, folding only when nothing matches exactly, and
// names alike an error rather than a pick.
TEST_F(AliasListTest, ANameResolvesToOneAliasOrSaysWhyNot) {
  Registry(false, "\xE9t\xE9", "/local-ete.fdb");   // été
  Registry(true, "\xC9t\xE9", "/global-ete.fdb");   // Été
  Registry(true, "Agency", "/global-agency.fdb");
  Registry(false, "Agency", "/local-agency.fdb");
  Registry(false, "only", "/only.fdb");
  files_.RefreshList();
  struct Case {
    const char* name;
    const char* path;       // nullptr: none
    const char* error = "";  // a part of it
  } cases[] = {
      {"\xE9t\xE9", "/local-ete.fdb"},
      {"\xC9t\xE9", "/global-ete.fdb"},
      {"\xC9T\xC9", nullptr, "fits several aliases"},
      {"Agency (global)", "/global-agency.fdb"},
      {"Agency (local)", "/local-agency.fdb"},
      {"agency (global)", "/global-agency.fdb"},
      {"ONLY", "/only.fdb"},
      {"only (global)", nullptr, "There is no alias"},
      {"missing", nullptr, "There is no alias missing."},
  };
  for (const Case& c : cases) {
    std::string error;
    const int i = files_.ResolveAliasName(c.name, error);
    if (c.path) {
      ASSERT_GE(i, 0) << c.name << ": " << error;
      EXPECT_EQ(files_.AliasPath(i), c.path) << c.name;
    } else {
      EXPECT_EQ(i, -1) << c.name;
      EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    }
  }
}

}  // namespace
}  // namespace iex
