#include <gtest/gtest.h>

#include "AgencyDb.h"
#include "DbWriter.h"
#include "db/DataModule.h"
#include "db/DbError.h"

namespace iex::db {
namespace {

// Each test gets its own small database and shapes it with SQL first.
class LookupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IEX_SKIP_WITHOUT_DATABASE();
    tools::AgencyOptions o;
    o.invoices = 5;
    path_ = test::MakeAgencyDb(dir_, "lookups.fdb", o);
  }
  void Shape(const std::string& script) {
    auto w = tools::TDbWriter::Open(path_);
    w->ExecuteScript(script);
  }
  void Connect() { ASSERT_TRUE(dm_.ConnectToDB(path_, "SYSDBA", "x")); }

  test::TempDir dir_;
  std::string path_;
  TdmMain dm_;
};

TEST_F(LookupsTest, SchemaVersionSelectsTheDestinationTable) {
  const std::pair<const char*, bool> cases[] = {{"79", false}, {"80", true}, {"", false}, {"8a", false},
                                                {"085", true}, {"9999999999", false}, {"-80", false}};
  for (const auto& [text, newTable] : cases) {
    Shape(std::string("UPDATE TABLEVERSION SET ZAMTABLEVERSIONNO = '") + text + "' WHERE ACTIVEVERSION = 'Y';\n");
    Connect();
    dm_.GetDBVersion();
    EXPECT_EQ(dm_.DBVersion, text);
    EXPECT_EQ(dm_.NewDestTable, newTable) << text;
    EXPECT_FALSE(dm_.trMisc.Active());
    dm_.ZAMDatabase.SetConnected(false);
  }
  Shape("DELETE FROM TABLEVERSION WHERE ACTIVEVERSION = 'Y';\n");
  Connect();
  dm_.NewDestTable = true;
  dm_.GetDBVersion();
  EXPECT_EQ(dm_.DBVersion, "");
  EXPECT_FALSE(dm_.NewDestTable);
}

TEST_F(LookupsTest, BranchesAreAppendedAndTravelTypesFillTheGrid) {
  Connect();
  TStringIntList branches{{"kept", 99}};
  dm_.GetBranchNames(branches);
  ASSERT_EQ(branches.size(), 7u);
  EXPECT_EQ(branches[0].first, "kept");
  bool sawZero = false;
  for (const auto& [name, no] : branches) sawZero |= (no == 0 && name == "Head Office");
  EXPECT_TRUE(sawZero);

  TStringGrid grid;
  grid.SetCell(1, 31, "stays");
  dm_.PrepareTravelTypes(grid);
  EXPECT_EQ(grid.Cell(0, 1), "1. Air Domestic");
  EXPECT_EQ(grid.Cell(2, 1), "1");
  EXPECT_EQ(grid.Cell(0, 21), "22. Ferry");  // numbers have a gap at 21
  EXPECT_EQ(grid.Cell(0, 25), "26. Visa Service");
  EXPECT_EQ(grid.Cell(2, 25), "");  // no category
  EXPECT_EQ(grid.Cell(1, 30), "");
  EXPECT_EQ(grid.Cell(1, 31), "stays");

  TStringIntList cards{{"old", 1}};
  dm_.CacheCCLookUp(cards);
  bool orphan = false;
  for (const auto& [code, no] : cards) {
    EXPECT_NE(code, "old");
    if (no == 14) orphan = code.empty();
  }
  EXPECT_TRUE(orphan);
}

TEST_F(LookupsTest, NoBranchesAppendsNothing) {
  Shape("DELETE FROM BRANCH;\n");
  Connect();
  TStringIntList branches;
  dm_.GetBranchNames(branches);
  EXPECT_TRUE(branches.empty());
}

TEST_F(LookupsTest, MissingTableReachesTheCallerAndLeavesNothingOpen) {
  Shape("DROP TABLE TABLEVERSION;\n");
  Connect();
  try {
    dm_.GetDBVersion();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("TABLEVERSION"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(dm_.trMisc.Active());
  EXPECT_FALSE(dm_.sqlMisc.Active());
  TStringIntList branches;
  dm_.GetBranchNames(branches);
  EXPECT_FALSE(branches.empty());
  EXPECT_TRUE(dm_.ConnectToDB(path_, "SYSDBA", "x"));
}

}  // namespace
}  // namespace iex::db
