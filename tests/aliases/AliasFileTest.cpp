#include <gtest/gtest.h>

#include "TempPaths.h"
#include "aliases/AliasFile.h"
#include "platform/Error.h"

namespace iex {
namespace {

class AliasFileTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  TPlatformPaths paths_ = test::TempPaths(dir_);
  TAliasFile file_{false, TAliasDBType::adtIB, paths_};
};

TEST_F(AliasFileTest, LayoutOfAnAddedAlias) {
  EXPECT_TRUE(test::SamePath(file_.FileName(), dir_.File("appdata/Movra/MOVRAALIAS.INI"))) << file_.FileName();
  EXPECT_TRUE(test::SamePath(TAliasFile(true, TAliasDBType::adtORACLE, paths_).FileName(), dir_.File("common/Movra/MOVRAORACLEALIAS.INI")));
  file_.AddAlias("MAIN", "c:\\db\\main.gdb", 3050, false);
  EXPECT_EQ(test::ReadFile(file_.FileName()),
            std::string("[ALIASES]\r\nMAIN=c:\\db\\main.gdb\r\n") + test::kIniSectionGap + "[MAIN]\r\nPort=3050\r\nIBEventsEnabled=0\r\n");
}

TEST_F(AliasFileTest, ReadsHandWrittenValuesWithTheirDefaults) {
  test::WriteFile(file_.FileName(),
                  "[ALIASES]\nA=/a.fdb\nB=/b.fdb\nC=/c.fdb\nD=\n[A]\nPort=abc\nIBEventsEnabled=2\n[B]\nPort=0x0BEA\n"
                  "IBEventsEnabled=0\n[C]\nIBEventsEnabled=x\n");
  const std::tuple<const char*, int, bool> cases[] = {{"A", 8090, true}, {"B", 3050, false}, {"C", 8090, true}, {"D", 8090, true}};
  for (const auto& [name, port, events] : cases) {
    EXPECT_EQ(file_.GetAliasPort(name), port) << name;
    EXPECT_EQ(file_.GetAliasIBEventsEnabled(name), events) << name;
  }
  TExtAlias e;
  e.IsGlobal = true;
  ASSERT_TRUE(file_.GetAliasInfo("b", e));
  EXPECT_EQ(e.AliasName, "b");  // as passed
  EXPECT_EQ(e.Path, "/b.fdb");
  EXPECT_TRUE(e.IsGlobal);  // left as it was
  std::vector<std::pair<std::string, std::unique_ptr<TExtAlias>>> all;
  EXPECT_EQ(file_.GetAliases(all), 4);
  EXPECT_EQ(all[3].first, "D");
  EXPECT_FALSE(all[0].second->IsGlobal);
  EXPECT_EQ(file_.GetCount(), 4);
}

TEST_F(AliasFileTest, RenameAndDelete) {
  file_.AddAlias("OLD", "/old.fdb", 1, true);
  file_.AddAlias("TAKEN", "/taken.fdb", 2, false);
  EXPECT_FALSE(file_.RenameAlias("NONE", "X"));
  EXPECT_TRUE(file_.RenameAlias("OLD", "TAKEN"));  // replaces the alias of that name
  EXPECT_EQ(file_.GetAliasPath("TAKEN"), "/old.fdb");
  EXPECT_EQ(file_.GetAliasPort("TAKEN"), 1);
  EXPECT_FALSE(file_.AliasExists("OLD"));
  test::WriteFile(file_.FileName(), "[ALIASES]\nNOSECTION=/x\n[ORPHAN]\nPort=1\n");
  file_.DeleteByName("NOSECTION");
  file_.DeleteByName("ORPHAN");
  EXPECT_EQ(test::ReadFile(file_.FileName()), "[ALIASES]\r\n");
  std::vector<std::pair<std::string, std::unique_ptr<TExtAlias>>> none;
  EXPECT_EQ(TAliasFile(true, TAliasDBType::adtIB, paths_).GetAliases(none), 0);
}

TEST_F(AliasFileTest, NamesTheLayoutCannotHoldAreRefused) {
  for (const char* name : {"ALIASES", "aliases", "a=b", "a]b", ";x", "line\nbreak", ""}) {
    EXPECT_THROW(file_.AddAlias(name, "/x", 1, true), EMvError) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(file_.FileName()));
}

TEST_F(AliasFileTest, UnwritableFileSaysSo) {
  paths_.userAppData = "/proc/iex-cannot-write";
  TAliasFile f(false, TAliasDBType::adtIB, paths_);
  try {
    f.AddAlias("X", "/x", 1, true);
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + f.FileName());
    EXPECT_TRUE(test::SamePath(f.FileName(), "/proc/iex-cannot-write/Movra/MOVRAALIAS.INI"));
  }
}

}  // namespace
}  // namespace iex
