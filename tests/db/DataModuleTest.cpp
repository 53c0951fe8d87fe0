#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "AgencyDb.h"
#include "db/DataModule.h"
#include "db/DbExportSource.h"
#include "db/DbError.h"

namespace iex::db {
namespace {

class DataModuleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    if (!db::ClientLibraryAvailable()) return;
    tools::AgencyOptions o;
    o.invoices = 300;
    path_ = test::MakeAgencyDb(*dir_, "agency.fdb", o);
  }
  static void TearDownTestSuite() { delete dir_; }
  void SetUp() override { IEX_SKIP_WITHOUT_DATABASE(); }
  void RequireServer() {
    if (test::ServerHost().empty()) GTEST_SKIP() << "no Firebird server (IEX_FB_HOST) for this run";
  }
  static test::TempDir* dir_;
  static std::string path_;
  TdmMain dm_;
};

test::TempDir* DataModuleTest::dir_ = nullptr;
std::string DataModuleTest::path_;

#ifndef _WIN32
// The client library installs a Ctrl-C handler of its own at the first
// attach of a process (one that shuts every connection down). The probe
// attaches for the first time in a process whose SIGINT is ignored (as
// nohup leaves it) and SIGTERM handled, and says what they are afterwards.
TEST_F(DataModuleTest, TheFirstAttachLeavesTheProgramsSignalDispositionsInPlace) {
  for (const std::string& path : {path_, test::ServerHost().empty() ? std::string() : test::RemotePath(path_)}) {
    if (path.empty()) continue;
    const std::string command = std::string(IEX_SIGNAL_PROBE) + " '" + path + "' '" +
                                (path == path_ ? std::string("x") : test::ServerPassword()) + "'";
    std::FILE* p = popen(command.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, p) != nullptr;
    pclose(p);
    ASSERT_TRUE(read);
    EXPECT_STREQ(line, "connected; SIGINT ignored; SIGTERM ours, reset after one\n") << path;
  }
}
#endif

TEST_F(DataModuleTest, PlainLocalPathConnectsThroughTheEmbeddedEngine) {
  EXPECT_TRUE(dm_.LocalServerRunning("SYSDBA", "whatever"));
  EXPECT_TRUE(dm_.ConnectToDB(path_, "SYSDBA", "whatever"));
  EXPECT_TRUE(dm_.ZAMDatabase.Connected());
  EXPECT_EQ(dm_.ZAMDatabase.DatabaseNameUtf8, path_);
  EXPECT_EQ(dm_.ZAMDatabase.Params, (std::vector<std::string>{"USER_NAME=SYSDBA", "PASSWORD=whatever"}));
  // A second call starts from a closed connection.
  EXPECT_TRUE(dm_.ConnectToDB(path_, "SYSDBA", "whatever"));
  EXPECT_TRUE(dm_.ZAMDatabase.Connected());
}

TEST_F(DataModuleTest, FailuresAnswerFalseAndLeaveTheConnectionClosed) {
  EXPECT_FALSE(dm_.ConnectToDB(dir_->File("missing.fdb"), "SYSDBA", "x"));
  EXPECT_FALSE(dm_.ZAMDatabase.Connected());
  // Nothing listens on port 1.
  EXPECT_FALSE(dm_.ConnectToDB("127.0.0.1/1:" + path_, "SYSDBA", "x"));
  EXPECT_FALSE(dm_.ZAMDatabase.Connected());
  EXPECT_TRUE(dm_.ConnectToDB(path_, "SYSDBA", "x"));
}

TEST_F(DataModuleTest, ServerPathWithThePasswordConnectsAndAWrongOneAnswersFalse) {
  RequireServer();
  const std::string remote = test::RemotePath(path_);
  EXPECT_FALSE(dm_.ConnectToDB(remote, "SYSDBA", test::ServerPassword() + "-wrong"));
  EXPECT_FALSE(dm_.ZAMDatabase.Connected());
  EXPECT_TRUE(dm_.ConnectToDB(remote, "SYSDBA", test::ServerPassword()));
  const std::string port = test::ServerPort().empty() ? "" : "/" + test::ServerPort();
  EXPECT_TRUE(dm_.ConnectToDB("localhost" + port + ":" + path_, "SYSDBA", test::ServerPassword()));
}

TEST_F(DataModuleTest, ExportRowsReadInOneTransactionWhileLookupsRunBeside) {
  ASSERT_TRUE(dm_.ConnectToDB(path_, "SYSDBA", "x"));
  TDbExportSource source(dm_);
  const TSchemaVersion version = source.SchemaVersion();
  source.BeginExport();
  TExportRowSource& rows = source.Rows();
  rows.OpenBookings({}, version.newDestTable, false);
  TBookingRecord b;
  int bookings = 0;
  long udids = 0;
  std::pair<int32_t, int32_t> last{-1, -1};
  while (rows.NextBooking(b)) {
    const std::pair<int32_t, int32_t> key{b.invoiceNo, b.bookingNo};
    ASSERT_LT(last, key);  // ordered by invoice, then booking: bookings never interleave
    last = key;
    udids += static_cast<long>(b.udids.size());
    if (++bookings == 10) {
      EXPECT_FALSE(source.CardTypes().empty());
    }
  }
  EXPECT_GT(bookings, 100);
  EXPECT_GT(udids, 0);
  source.CommitExport();
  EXPECT_FALSE(source.ExportActive());
}

// The server goes away under a running export: its own text reaches the
// caller, nothing stays open, and the next connect works.
TEST_F(DataModuleTest, DatabaseShutDownMidQuery) {
  RequireServer();
  const std::string own = dir_->File("shutdown.fdb");
  tools::AgencyOptions o;
  o.invoices = 1500;
  test::MakeAgencyDb(*dir_, "shutdown.fdb", o);
  const std::string remote = test::RemotePath(own);
  const std::string svc = "fbsvcmgr " + test::ServiceManager() + " user SYSDBA password " +
                          test::ServerPassword() + " action_properties dbname " + own + " ";
  ASSERT_TRUE(dm_.ConnectToDB(remote, "SYSDBA", test::ServerPassword()));
  dm_.GetDBVersion();
  dm_.trExport.StartTransaction();
  TQuery bookings(dm_.trExport);
  bookings.SetSQL({"SELECT * FROM BOOKING B JOIN SEGMENTS S ON S.BOOKING_LINKNO = B.BOOKINGNO"});
  bookings.ExecQuery();
  ASSERT_EQ(std::system((svc + "prp_shutdown_mode prp_sm_full prp_force_shutdown 0 >/dev/null 2>&1").c_str()), 0);
  std::string message;
  try {
    for (int i = 0; i < 100000 && !bookings.Eof(); ++i) bookings.Next();
  } catch (const EDatabaseError& e) {
    message = e.what();
  }
  EXPECT_NE(message.find("shutdown"), std::string::npos) << message;
  bookings.Close();
  EXPECT_THROW(dm_.trExport.Rollback(), EMvError);
  EXPECT_FALSE(dm_.trExport.Active());
  EXPECT_THROW(dm_.GetDBVersion(), EMvError);
  EXPECT_FALSE(dm_.trMisc.Active());
  ASSERT_EQ(std::system((svc + "prp_online_mode prp_sm_normal >/dev/null 2>&1").c_str()), 0);
  EXPECT_TRUE(dm_.ConnectToDB(remote, "SYSDBA", test::ServerPassword()));
  dm_.GetDBVersion();
  EXPECT_EQ(dm_.DBVersion, "85");
}

// A Stop or a signal cancels a statement that has not given its first row:
// the run never waits for a long query to finish.
TEST_F(DataModuleTest, CancelEndsAQueryThatHasNotGivenARow) {
  ASSERT_TRUE(dm_.ConnectToDB(path_, "SYSDBA", "x"));
  TDbExportSource source(dm_);
  source.BeginExport();
  TQuery endless(dm_.trExport);
  endless.SetSQL({"SELECT COUNT(*) FROM RDB$FIELDS A, RDB$FIELDS B, RDB$FIELDS C, RDB$FIELDS D"});
  std::atomic<bool> done{false};
  std::thread stopper([&] {
    while (!done) {
      source.Cancel();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  std::string error;
  try {
    endless.ExecQuery();
  } catch (const EDatabaseError& e) {
    error = e.what();
  }
  done = true;
  stopper.join();
  EXPECT_NE(error.find("cancelled"), std::string::npos) << error;
  source.RollbackExport();
  EXPECT_FALSE(source.ExportActive());
}

}  // namespace
}  // namespace iex::db
