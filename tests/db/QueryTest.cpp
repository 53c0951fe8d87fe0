#include <gtest/gtest.h>

#include <cmath>

#include "AgencyDb.h"
#include "DbWriter.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "util/DateValue.h"

namespace iex::db {
namespace {

// A table of every column type the export reads, on the embedded engine and
// through the server.
class QueryTest : public ::testing::TestWithParam<bool> {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    if (!db::ClientLibraryAvailable()) return;
    path_ = dir_->File("types.fdb");
    auto w = tools::TDbWriter::Create(path_);
    w->ExecuteScript(
        "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, C CHAR(4), V VARCHAR(20), S SMALLINT, I INTEGER, "
        "B BIGINT, N NUMERIC(9,2), D DATE, TS TIMESTAMP, F DOUBLE PRECISION, BL BLOB SUB_TYPE 0, TX BLOB SUB_TYPE 1);\n");
    tools::TDbWriter::Insert ins(*w, "INSERT INTO T VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
    using tools::Value;
    ins.Run({int64_t{1}, std::string("ab"), std::string("caf\xE9"), int64_t{-7}, int64_t{42}, int64_t{1} << 40,
             int64_t{-12345}, tools::Date{EncodeDate(2014, 3, 7)}, tools::Timestamp{EncodeDate(2014, 3, 7) + 0.5},
             Value{}, tools::Bytes{std::string("\x00\x01\xFF", 3)}, tools::Bytes{"text blob"}});
    ins.Run({int64_t{2}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}});
    ins.Run({int64_t{3}, std::string("1"), std::string(" 17 "), int64_t{0}, int64_t{0}, int64_t{0}, int64_t{199},
             Value{}, Value{}, Value{}, tools::Bytes{""}, Value{}});
    w->Commit();
    w.reset();
    // Texts in other character sets than the code page's, and amounts of
    // other numeric types; written as UTF-8 for the engine to store.
    auto u = tools::TDbWriter::Open(path_, "SYSDBA", "", "UTF8");
    u->ExecuteScript(
        "CREATE TABLE CS (U CHAR(5) CHARACTER SET UTF8, W CHAR(5) CHARACTER SET WIN1251, "
        "L VARCHAR(5) CHARACTER SET ISO8859_1, N2 NUMERIC(15,2), N4 NUMERIC(15,4), F DOUBLE PRECISION, I INTEGER);\n"
        "INSERT INTO CS VALUES ('é', 'жж', 'ü', 123.45, -0.00505, -0.125, 12345);\n"
        // Amounts typed into floating columns: their binary values lie just above or below the decimals.
        "CREATE TABLE FL (N INTEGER, D DOUBLE PRECISION, S FLOAT);\n"
        "INSERT INTO FL VALUES (1, 1.115, 1.115);\n"
        "INSERT INTO FL VALUES (2, -2.675, -2.675);\n"
        "INSERT INTO FL VALUES (3, 0.615, 0.615);\n"
        "INSERT INTO FL VALUES (4, 1.005, 1.005);\n"
        "INSERT INTO FL VALUES (5, 0.285, 0.285);\n"
        "INSERT INTO FL VALUES (6, 21474836.47, 0.125);\n"
        "INSERT INTO FL VALUES (7, 1e-9, -0.004);\n");
    u.reset();
    chmod(path_.c_str(), 0666);
  }
  static void TearDownTestSuite() { delete dir_; }

  void SetUp() override {
    IEX_SKIP_WITHOUT_DATABASE();
    if (GetParam()) {
      if (test::ServerHost().empty()) GTEST_SKIP() << "no Firebird server (IEX_FB_HOST) for this run";
      db_.DatabaseNameUtf8 = test::RemotePath(path_);
      db_.Params = {"USER_NAME=SYSDBA", "PASSWORD=" + test::ServerPassword()};
    } else {
      db_.DatabaseNameUtf8 = path_;
      db_.Params = {"USER_NAME=SYSDBA", "PASSWORD=x"};
    }
    db_.Connect();
    tr_.StartTransaction();
  }

  void Select(const std::string& where) {
    q_.SetSQL({"SELECT ID, C, V, S, I, B, N, D, TS, F, BL, TX, V AS ALIASED", "FROM T", where});
    q_.ExecQuery();
  }

  static test::TempDir* dir_;
  static std::string path_;
  TDatabase db_;
  TTransaction tr_{db_};
  TQuery q_{tr_};
};

test::TempDir* QueryTest::dir_ = nullptr;
std::string QueryTest::path_;

TEST_P(QueryTest, ReadsValuesByNameAndPosition) {
  Select("WHERE ID = 1");
  ASSERT_FALSE(q_.Eof());
  EXPECT_EQ(q_.FieldByName("c").AsString(), "ab  ");  // CHAR keeps its blanks
  EXPECT_EQ(q_.FieldByName("V").AsString(), "caf\xE9");
  EXPECT_EQ(q_.FieldByName("ALIASED").AsString(), "caf\xE9");
  EXPECT_EQ(q_.Field(3).AsInteger(), -7);
  EXPECT_EQ(q_.FieldByName("I").AsString(), "42");
  EXPECT_EQ(q_.FieldByName("B").AsString(), "1099511627776");
  EXPECT_THROW(q_.FieldByName("B").AsInteger(), EConvertError);
  EXPECT_EQ(q_.FieldByName("N").AsString(), "-123.45");
  EXPECT_EQ(q_.FieldByName("N").AsInteger(), -123);
  EXPECT_DOUBLE_EQ(q_.FieldByName("N").AsFloat(), -123.45);
  EXPECT_DOUBLE_EQ(q_.FieldByName("D").AsDateTime(), EncodeDate(2014, 3, 7));
  EXPECT_DOUBLE_EQ(q_.FieldByName("TS").AsDateTime(), EncodeDate(2014, 3, 7) + 0.5);
  EXPECT_EQ(q_.FieldByName("BL").AsBytes(), std::string("\x00\x01\xFF", 3));
  EXPECT_EQ(q_.FieldByName("TX").AsString(), "text blob");
  EXPECT_TRUE(q_.FieldByName("F").IsNull());
  EXPECT_THROW(q_.FieldByName("NOPE"), EMvError);
  q_.Next();
  EXPECT_TRUE(q_.Eof());
}

TEST_P(QueryTest, NullReadsAsEmptyZeroAndDateZero) {
  Select("WHERE ID = 2");
  ASSERT_FALSE(q_.Eof());
  for (const char* name : {"C", "V", "S", "I", "B", "N", "D", "TS", "F", "BL", "TX"}) {
    EXPECT_TRUE(q_.FieldByName(name).IsNull()) << name;
    EXPECT_EQ(q_.FieldByName(name).AsString(), "") << name;
    EXPECT_EQ(q_.FieldByName(name).AsBytes(), "") << name;
  }
  EXPECT_EQ(q_.FieldByName("I").AsInteger(), 0);
  EXPECT_EQ(q_.FieldByName("C").AsInteger(), 0);
  EXPECT_EQ(q_.FieldByName("D").AsDateTime(), 0);
}

TEST_P(QueryTest, TextAsIntegerOnlyWhenItIsOne) {
  Select("WHERE ID = 3");
  EXPECT_EQ(q_.FieldByName("C").AsInteger(), 1);
  EXPECT_EQ(q_.FieldByName("V").AsInteger(), 17);
  EXPECT_EQ(q_.FieldByName("N").AsString(), "1.99");
  EXPECT_EQ(q_.FieldByName("BL").AsBytes(), "");
  Select("WHERE ID = 1");
  EXPECT_THROW(q_.FieldByName("V").AsInteger(), EConvertError);
}

TEST_P(QueryTest, NamedParameterIsBoundAndReused) {
  q_.SetSQL({"SELECT V FROM T", "WHERE ID = :ID OR ID = :id + 100"});
  EXPECT_THROW(q_.ExecQuery(), EMvError);
  for (int id : {1, 3, 99}) {
    q_.SetParamInteger("ID", id);
    q_.ExecQuery();
    EXPECT_EQ(q_.Eof(), id == 99);
    q_.Close();
  }
}

TEST_P(QueryTest, EmptyResultIsAtEndAtOnceAndLinesJoinWithBreaks) {
  q_.SetSQL({"SELECT ID", "FROM T", "WHERE ID < 0"});
  EXPECT_EQ(q_.SQLText(), "SELECT ID\nFROM T\nWHERE ID < 0");
  q_.ExecQuery();
  EXPECT_TRUE(q_.Eof());
  EXPECT_TRUE(q_.FieldByName("ID").IsNull());
}

TEST_P(QueryTest, TwoTransactionsOnOneConnection) {
  TTransaction other(db_);
  TQuery q2(other);
  Select("");
  other.StartTransaction();
  q2.SetSQL({"SELECT COUNT(*) FROM T"});
  q2.ExecQuery();
  EXPECT_EQ(q2.Field(0).AsInteger(), 3);
  q2.Close();
  other.Commit();
  EXPECT_FALSE(other.Active());
  int rows = 0;
  for (; !q_.Eof(); q_.Next()) ++rows;
  EXPECT_EQ(rows, 3);
  EXPECT_THROW(tr_.StartTransaction(), EMvError);
}

TEST_P(QueryTest, ServerErrorsCarryTextAndSqlCode) {
  q_.SetSQL({"SELECT NOPE FROM T"});
  try {
    q_.ExecQuery();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.SQLCode(), -206);
    EXPECT_NE(std::string(e.what()).find("NOPE"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(q_.Active());
  q_.SetSQL({"SELECT ID FROM T"});
  q_.ExecQuery();
  EXPECT_FALSE(q_.Eof());
}

TEST_P(QueryTest, DisconnectEndsTransactionsAndQueries) {
  Select("");
  db_.SetConnected(false);
  EXPECT_FALSE(db_.Connected());
  EXPECT_FALSE(tr_.Active());
  EXPECT_FALSE(q_.Active());
  db_.Connect();
  tr_.StartTransaction();
  Select("WHERE ID = 3");
  EXPECT_EQ(q_.FieldByName("V").AsString(), " 17 ");
}

TEST_P(QueryTest, TextComesInTheCodePageAndCharactersStayWhole) {
  q_.SetSQL({"SELECT U, W, L FROM CS"});
  q_.ExecQuery();
  long lost = 0;
  EXPECT_EQ(q_.FieldByName("U").AsText(&lost), "\xe9    ");  // five characters, not twenty bytes
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(q_.FieldByName("W").AsText(&lost), "??   ");  // Cyrillic has no byte in Windows-1252
  EXPECT_EQ(lost, 2);
  EXPECT_EQ(q_.FieldByName("L").AsText(&lost), "\xfc");
  EXPECT_EQ(lost, 2);
}

TEST_P(QueryTest, AmountsOfEveryNumericTypeAsHundredths) {
  q_.SetSQL({"SELECT N2, N4, F, I, CAST(NULL AS INTEGER) Z FROM CS"});
  q_.ExecQuery();
  EXPECT_EQ(q_.FieldByName("N2").AsHundredths(), 12345);
  EXPECT_EQ(q_.FieldByName("N4").AsHundredths(), -1) << "-0.505 hundredths rounds half away from zero";
  EXPECT_EQ(q_.FieldByName("F").AsHundredths(), -13);
  EXPECT_EQ(q_.FieldByName("I").AsHundredths(), 12345) << "a whole-number column holds hundredths";
  EXPECT_EQ(q_.FieldByName("Z").AsHundredths(), 0);
}

// The decimal the value was typed as is rounded half away from zero, not
// the binary value's product with 100.
TEST_P(QueryTest, FloatingAmountsRoundTheDecimalTheyWereTypedAs) {
  q_.SetSQL({"SELECT D, S FROM FL ORDER BY N"});
  q_.ExecQuery();
  const int64_t expected[][2] = {{112, 112}, {-268, -268}, {62, 62}, {101, 101}, {29, 29}, {2147483647, 13}, {0, 0}};
  for (const auto& e : expected) {
    ASSERT_FALSE(q_.Eof());
    EXPECT_EQ(q_.FieldByName("D").AsHundredths(), e[0]) << q_.FieldByName("D").AsString();
    EXPECT_EQ(q_.FieldByName("S").AsHundredths(), e[1]) << q_.FieldByName("S").AsString();
    q_.Next();
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, QueryTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Server" : "Embedded"; });

}  // namespace
}  // namespace iex::db
