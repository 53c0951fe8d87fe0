#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/AnsiText.h"
#include "AgencyDb.h"
#include "DbWriter.h"
#include "FakeEnv.h"
#include "FaultFileSystem.h"
#include "MemoryExportSource.h"
#include "RecordingExportView.h"
#include "TempPaths.h"
#include "db/DbError.h"
#include "db/DbExportSource.h"
#include "export/ExportRun.h"
#include "export/RevenueTypes.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

ExportSettings DefaultSettings() {
  ExportSettings s;
  for (int c = 1; c <= 10; ++c) s.CategoryLetters[static_cast<std::size_t>(c)] = GetDefaultRevenueType(c);
  return s;
}

// The run over rows held in memory: no database needed.
class ExportRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.root = dir_.Path() + "/";
    env_.programFolder = dir_.File("bin") + "/";
    fs::create_directories(env_.programFolder);
    test::FillAgency(source_, 30);
  }
  std::string DefaultDir() {
    fs::create_directories(dir_.File("tovrane/db"));
    return dir_.File("tovrane/db");
  }
  bool Run(const ExportSettings& s = DefaultSettings()) {
    return run_.RunExport(s, [&] { ++saves_; });
  }
  // The text of the error that ends the run; empty when it ends without one.
  std::string RunFailure() {
    try {
      Run();
    } catch (const EMvError& e) {
      return e.what();
    }
    return std::string();
  }

  static void PlantPreviousPair(const std::string& out) {
    test::WriteFile(out + "/IMPACCT.DAT", "previous accounts\r\n");
    test::WriteFile(out + "/IMPINV.DAT", "previous invoices\r\n");
  }
  static bool PreviousPairIntact(const std::string& out) {
    return test::ReadFile(out + "/IMPACCT.DAT") == "previous accounts\r\n" &&
           test::ReadFile(out + "/IMPINV.DAT") == "previous invoices\r\n";
  }
  // Names in the folder other than the import files and the lock.
  static std::string Leftovers(const std::string& out) {
    std::string names;
    for (const auto& e : fs::directory_iterator(out)) {
      const std::string name = TextOfPath(e.path().filename());
      if (name != "IMPACCT.DAT" && name != "IMPINV.DAT" && name != TOutputTransaction::kLockName) names += name + " ";
    }
    return names;
  }

  test::TempDir dir_;
  test::FakeEnv env_;
  test::MemoryExportSource source_;
  test::RecordingExportView view_;
  TExportRun run_{source_, view_, env_};
  int saves_ = 0;
};

TEST_F(ExportRunTest, DefaultFolderTakesBothFilesAndReplacesOldOnes) {
  const std::string out = DefaultDir();
  std::ofstream(out + "/IMPINV.DAT") << std::string(100000, 'x');
  run_.CountInvoices = true;
  ASSERT_TRUE(Run());
  EXPECT_EQ(view_.chooserShown, 0);
  EXPECT_EQ(saves_, 1);
  EXPECT_EQ(run_.OutputDir, out);
  EXPECT_EQ(source_.committed, 1);
  EXPECT_FALSE(source_.ExportActive());
  EXPECT_TRUE(view_.exportEnabled);
  const std::vector<TExportPhase> phases{TExportPhase::Counting,        TExportPhase::ReadingProfiles,
                                         TExportPhase::WritingAccounts, TExportPhase::ReadingInvoices,
                                         TExportPhase::WritingInvoices, TExportPhase::Committing,
                                         TExportPhase::Done};
  EXPECT_EQ(view_.phases, phases);
  // The last state shown is complete: every invoice counted was written.
  EXPECT_EQ(view_.last.done, 30);
  EXPECT_EQ(view_.last.total, 30);
  const std::string invoices = test::ReadFile(out + "/IMPINV.DAT");
  EXPECT_EQ(invoices.find("xxxxxxxx"), std::string::npos);
  EXPECT_EQ(invoices.substr(0, 3), "01\t");
  EXPECT_EQ(run_.Summary.bookingLines, 60);
  EXPECT_EQ(run_.Summary.accountLines, 60);
  EXPECT_EQ(run_.Summary.invoices, 30);
}

TEST_F(ExportRunTest, MissingDefaultFolderAsksStartingAtTheProgramFolder) {
  ASSERT_TRUE(Run());
  EXPECT_EQ(view_.chooserShown, 1);
  EXPECT_EQ(view_.chooserStart, env_.programFolder);
  EXPECT_TRUE(fs::exists(env_.programFolder + "/IMPINV.DAT"));
  // The next run starts from the default folder again.
  const std::string out = DefaultDir();
  ASSERT_TRUE(Run());
  EXPECT_EQ(view_.chooserShown, 1);
  EXPECT_EQ(run_.OutputDir, out);
}

TEST_F(ExportRunTest, TheChooserOpensWhereTheLastChosenFolderWas) {
  fs::create_directories(dir_.File("last"));
  run_.ChooserStart = dir_.File("last");
  ASSERT_TRUE(Run());
  EXPECT_EQ(view_.chooserStart, dir_.File("last"));
}

TEST_F(ExportRunTest, AFolderAnotherExportHoldsEndsTheRunShownAsFailed) {
  const std::string out = DefaultDir();
  PlantPreviousPair(out);
  TOutputTransaction other(env_.Files(), out);
  EXPECT_NE(RunFailure().find("Another export is writing into"), std::string::npos);
  ASSERT_FALSE(view_.phases.empty());
  EXPECT_EQ(view_.phases.back(), TExportPhase::Failed);
  EXPECT_EQ(source_.begun, 0);
  EXPECT_EQ(saves_, 0);
  EXPECT_TRUE(PreviousPairIntact(out));
}

TEST_F(ExportRunTest, CancelledChoiceWritesNothing) {
  view_.chooserAnswer = false;
  EXPECT_FALSE(Run());
  EXPECT_EQ(saves_, 0);
  EXPECT_EQ(source_.begun, 0);
  EXPECT_FALSE(fs::exists(env_.programFolder + "/IMPACCT.DAT"));
  EXPECT_TRUE(view_.phases.empty());
}

TEST_F(ExportRunTest, AFolderInTheWayOfTheInvoiceFileLeavesThePreviousAccountFile) {
  const std::string out = DefaultDir();
  test::WriteFile(out + "/IMPACCT.DAT", "old accounts\r\n");
  fs::create_directories(out + "/IMPINV.DAT");  // a folder of that name takes no file
  EXPECT_EQ(RunFailure(), "Can not write to file " + NativeSeparators(out + "/IMPINV.DAT") + ".\nA folder of that name is in the way.");
  EXPECT_EQ(saves_, 0);
  EXPECT_FALSE(source_.ExportActive());
  EXPECT_TRUE(view_.exportEnabled);
  EXPECT_EQ(view_.phases.back(), TExportPhase::Failed);
  EXPECT_EQ(test::ReadFile(out + "/IMPACCT.DAT"), "old accounts\r\n");
  EXPECT_EQ(Leftovers(out), "");
  // Pressing Export again works once the obstacle is gone.
  fs::remove(out + "/IMPINV.DAT");
  EXPECT_TRUE(Run());
  const std::string accounts = test::ReadFile(out + "/IMPACCT.DAT");
  EXPECT_EQ(static_cast<long>(std::count(accounts.begin(), accounts.end(), '\n')), run_.Summary.accountLines);
}

TEST_F(ExportRunTest, FailuresAndStopsInEitherFileLeaveThePreviousPair) {
  const std::string out = DefaultDir();
  test::FaultFileSystem files;
  env_.files = &files;
  const std::string stopped = "The export was stopped: by the user\nThe previous import files are unchanged.";
  struct Case {
    const char* what;
    const char* target;
    long failAtByte;
    long stopAtRecord;
    const char* rowError;  // a database error at row 50
    std::string message;
    TExportPhase end;
  } cases[] = {
      {"disk full in the account file", "IMPACCT", 300, -1, nullptr,
       "Can not write to file " + NativeSeparators(out + "/IMPACCT.DAT") + ".\nThe disk is full.", TExportPhase::Failed},
      {"disk full in the invoice file", "IMPINV", 2000, -1, nullptr,
       "Can not write to file " + NativeSeparators(out + "/IMPINV.DAT") + ".\nThe disk is full.", TExportPhase::Failed},
      {"stopped among the profiles", "", -1, 5, nullptr, stopped, TExportPhase::Stopped},
      {"stopped among the invoices", "", -1, 70, nullptr, stopped, TExportPhase::Stopped},
      {"a database error among the rows", "", -1, -1, "connection lost", "connection lost", TExportPhase::Failed},
  };
  for (const Case& c : cases) {
    PlantPreviousPair(out);
    files.target = c.target;
    files.failAtByte = c.failAtByte;
    std::atomic<bool> stop{false};
    view_.recordsShown = 0;
    view_.phases.clear();
    view_.onRecord = [&](long n) { stop = n == c.stopAtRecord || stop; };
    source_.beforeRow = [&](long row) {
      if (c.rowError && row == 50) throw EMvError(c.rowError);
    };
    run_.StopReason = [&] { return stop ? std::string("by the user") : std::string(); };
    EXPECT_EQ(RunFailure(), c.message) << c.what;
    EXPECT_TRUE(PreviousPairIntact(out)) << c.what;
    EXPECT_EQ(Leftovers(out), "") << c.what;
    EXPECT_FALSE(source_.ExportActive()) << c.what;
    EXPECT_TRUE(view_.exportEnabled) << c.what;
    EXPECT_EQ(view_.phases.back(), c.end) << c.what;
  }
  EXPECT_EQ(saves_, 0);
  EXPECT_EQ(source_.committed, 0);
}

// A stop that comes after the last row, before the files go in, still stops.
TEST_F(ExportRunTest, AStopAfterTheLastRowStillLeavesThePreviousPair) {
  const std::string out = DefaultDir();
  PlantPreviousPair(out);
  bool stop = false;
  source_.onCommit = [&] { stop = true; };
  run_.StopReason = [&] { return stop ? std::string("by the user") : std::string(); };
  EXPECT_EQ(RunFailure(), "The export was stopped: by the user\nThe previous import files are unchanged.");
  EXPECT_TRUE(PreviousPairIntact(out));
  EXPECT_EQ(Leftovers(out), "");
  EXPECT_EQ(view_.phases.back(), TExportPhase::Stopped);
  EXPECT_EQ(saves_, 0);
}

TEST_F(ExportRunTest, CardKeyErrorStopsBeforeAnyFile) {
  source_.cardSettings = {"{12-34}", "Y"};
  const std::string out = DefaultDir();
  EXPECT_EQ(RunFailure(), "Invalid card key setting.");
  EXPECT_FALSE(fs::exists(out + "/IMPACCT.DAT"));
  EXPECT_EQ(source_.begun, 0);
}

// The rows of the real source: a generated database, embedded and over TCP.
class RealSourceTest : public ExportRunTest {
 protected:
  void SetUp() override {
    IEX_SKIP_WITHOUT_DATABASE();
    ExportRunTest::SetUp();
  }
  void MakeDb(const tools::AgencyOptions& o = {}) {
    path_ = test::MakeAgencyDb(dir_, "agency.fdb", o);
    ASSERT_TRUE(dm_.ConnectToDB(path_, "SYSDBA", "x"));
  }
  db::TdmMain dm_;
  db::TDbExportSource db_{dm_};
  TExportRun dbRun_{db_, view_, env_};
  std::string path_;

  std::string DbRunFailure() {
    try {
      dbRun_.RunExport(DefaultSettings(), [&] { ++saves_; });
    } catch (const EMvError& e) {
      return e.what();
    }
    return std::string();
  }
};

TEST_F(RealSourceTest, WritesBothFilesInOneTransaction) {
  tools::AgencyOptions o;
  o.invoices = 20;
  MakeDb(o);
  const std::string out = DefaultDir();
  dbRun_.CountInvoices = true;
  EXPECT_EQ(DbRunFailure(), "");
  EXPECT_EQ(saves_, 1);
  EXPECT_FALSE(dm_.trExport.Active());
  EXPECT_GT(dbRun_.Summary.bookingLines, 10);
  EXPECT_EQ(view_.last.done, view_.last.total);
  EXPECT_GT(test::ReadFile(out + "/IMPACCT.DAT").size(), 100u);
}

TEST_F(RealSourceTest, CardValueOfTheWrongLengthEndsTheRun) {
  tools::AgencyOptions o;
  o.encryptCards = true;
  o.invoices = 30;
  MakeDb(o);
  dm_.ZAMDatabase.SetConnected(false);
  {
    auto w = tools::TDbWriter::Open(path_);
    tools::TDbWriter::Insert broken(*w, "UPDATE PAYMENT SET CKCCNOENCRYPT = ? WHERE PAYMENTNO = (SELECT MAX(PAYMENTNO) FROM PAYMENT)");
    broken.Run({tools::Bytes{"12345"}});
  }
  ASSERT_TRUE(dm_.ConnectToDB(path_, "SYSDBA", "x"));
  const std::string out = DefaultDir();
  PlantPreviousPair(out);
  EXPECT_EQ(DbRunFailure(), "Invalid format.");
  EXPECT_TRUE(PreviousPairIntact(out));
  EXPECT_EQ(Leftovers(out), "");
  EXPECT_FALSE(dm_.trExport.Active());
}

TEST_F(RealSourceTest, ServerStoppedInTheMiddleOverTcp) {
  if (test::ServerHost().empty()) GTEST_SKIP() << "no Firebird server (IEX_FB_HOST) for this run";
  tools::AgencyOptions o;
  o.invoices = 400;
  path_ = test::MakeAgencyDb(dir_, "agency.fdb", o);
  ASSERT_TRUE(dm_.ConnectToDB(test::RemotePath(path_), "SYSDBA", test::ServerPassword()));
  const std::string svc = "fbsvcmgr " + test::ServiceManager() + " user SYSDBA password " +
                          test::ServerPassword() + " action_properties dbname " + path_ + " ";
  view_.onRecord = [&](long n) {
    if (n == 150) {
      ASSERT_EQ(std::system((svc + "prp_shutdown_mode prp_sm_full prp_force_shutdown 0 >/dev/null 2>&1").c_str()), 0);
    }
  };
  PlantPreviousPair(DefaultDir());
  EXPECT_THROW(dbRun_.RunExport(DefaultSettings(), [&] { ++saves_; }), db::EDatabaseError);
  EXPECT_TRUE(PreviousPairIntact(DefaultDir()));
  EXPECT_EQ(Leftovers(DefaultDir()), "");
  EXPECT_EQ(saves_, 0);
  EXPECT_FALSE(dm_.trExport.Active());
  EXPECT_TRUE(view_.exportEnabled);
  EXPECT_EQ(std::system((svc + "prp_online_mode prp_sm_normal >/dev/null 2>&1").c_str()), 0);
}

}  // namespace
}  // namespace iex
