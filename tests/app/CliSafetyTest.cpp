// The command line when things go wrong: why a connection failed, a second
// export into the same folder, a stop by signal, password files, settings
// that cannot be saved. The previous pair of files survives every failure.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>

#include "AgencyDb.h"
#include "CliDbFixture.h"
#include "CliRunner.h"
#include "FakeEnv.h"
#include "FaultFileSystem.h"
#include "PrivateServer.h"
#include "TempPaths.h"
#include "app/RegistrySettingsStore.h"
#include "db/Database.h"
#include "export/OutputTransaction.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

class CliSafetyTest : public test::CliDbFixture {
 protected:
  void SetUp() override {
    CliDbFixture::SetUp();
    test::WriteFile(out_ + "/IMPACCT.DAT", "previous accounts\r\n");
    test::WriteFile(out_ + "/IMPINV.DAT", "previous invoices\r\n");
  }
  test::CliResult Run(const std::string& database, std::vector<std::string> extra = {}, TSettingsStore* store = nullptr) {
    std::vector<std::string> args = {"--database", database, "--password-env", "IEX_TEST_PW", "--output-dir", out_, "--all"};
    args.insert(args.end(), extra.begin(), extra.end());
    return test::RunCli(args, env_, store);
  }
  bool PreviousPairIntact() const {
    return test::ReadFile(out_ + "/IMPACCT.DAT") == "previous accounts\r\n" &&
           test::ReadFile(out_ + "/IMPINV.DAT") == "previous invoices\r\n";
  }
};

TEST_F(CliSafetyTest, EachConnectionFailureSaysWhy) {
  test::WriteFile(dir_->File("notes.fdb"), std::string(8192, 'n'));
  {
    auto empty = tools::TDbWriter::Create(dir_->File("empty.fdb"));
  }
  chmod(dir_->File("empty.fdb").c_str(), 0666);
  test::WriteFile(dir_->File("zero.fdb"), "");
  test::WriteFile(dir_->File("short.fdb"), "nineteen bytes here");
  fs::create_directories(dir_->File("folder.fdb"));
  mkfifo(dir_->File("fifo.fdb").c_str(), 0666);
  // A file whose header says an older engine made it (on-disk structure 11).
  fs::copy_file(path_, dir_->File("old.fdb"), fs::copy_options::overwrite_existing);
  chmod(dir_->File("old.fdb").c_str(), 0666);
  {
    std::FILE* f = std::fopen(dir_->File("old.fdb").c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 18, SEEK_SET);
    std::fputc(0x0B, f);
    std::fclose(f);
  }
  const std::string older = "The database file was made by an older Firebird (on-disk structure 11.0; this engine reads 12) (";
  const std::string cut = "The file is not a Firebird database, or it is empty or cut short (";
  struct Case {
    std::string database;
    std::string password;
    std::string second;
    bool needsServer;
  } cases[] = {
      {dir_->File("missing.fdb"), "x", "The database file was not found (" + dir_->File("missing.fdb") + ").", false},
      {dir_->File("notes.fdb"), "x", cut + dir_->File("notes.fdb") + ").", false},
      {dir_->File("zero.fdb"), "x", cut + dir_->File("zero.fdb") + ").", false},
      {dir_->File("short.fdb"), "x", cut + dir_->File("short.fdb") + ").", false},
      {dir_->File("folder.fdb"), "x", "The path names a folder, not a database file (" + dir_->File("folder.fdb") + ").", false},
      // Never handed to the engine: a FIFO would block it for good, a device read forever.
      {dir_->File("fifo.fdb"), "x", "The path names a FIFO (named pipe), not a database file", false},
      {"127.1/3050:" + dir_->File("fifo.fdb"), "x", "The path names a FIFO (named pipe), not a database file", false},
      {"/dev/zero", "x", "The path names a device, not a database file (/dev/zero).", false},
      {dir_->File("old.fdb"), "x",
       older + dir_->File("old.fdb") + "). Reach it through the Firebird server that serves it (host:" +
           dir_->File("old.fdb") + "), or upgrade it: back it up with that server's gbak -b and restore the backup with "
           "this version's gbak -c.",
       false},
      {test::RemotePath(dir_->File("old.fdb")), test::ServerPassword(), older, true},
      {test::RemotePath(dir_->File("missing.fdb")), test::ServerPassword(),
       "The database file was not found on host " + test::ServerHost(), true},
      {"127.0.0.1/1:" + path_, "x", "The database server is unreachable (host 127.0.0.1, port 1)", false},
      {test::RemotePath(path_), "definitely-wrong", "Wrong user name or password.", true},
  };
  for (const Case& c : cases) {
    if (c.needsServer && test::ServerHost().empty()) continue;
    setenv("IEX_TEST_PW", c.password.c_str(), 1);
    const auto r = Run(c.database);
    EXPECT_EQ(r.status, 1) << c.database;
    EXPECT_NE(r.err.find("\ninvoice-export: Unable to connect to database.\n" + c.second), std::string::npos) << r.err;
    EXPECT_TRUE(PreviousPairIntact());
  }
  setenv("IEX_TEST_PW", "x", 1);
  const auto empty = Run(dir_->File("empty.fdb"));
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("invoice-export: The database could not be read.\nThe database is not an agency database of "
                           "the expected kind: a table or procedure the export reads is missing.\nThe previous import "
                           "files are unchanged.\nDynamic SQL Error"),
            std::string::npos)
      << empty.err;
  EXPECT_NE(empty.err.find("\nThe previous import files are unchanged."), std::string::npos) << empty.err;
  EXPECT_TRUE(PreviousPairIntact());
  // A column the export reads is missing.
  const std::string odd = dir_->File("odd.fdb");
  fs::copy_file(path_, odd);
  chmod(odd.c_str(), 0666);
  tools::TDbWriter::Open(odd)->ExecuteScript("ALTER TABLE BOOKING DROP CONFIRMNO;\n");
  const auto column = Run(odd);
  EXPECT_EQ(column.status, 1);
  EXPECT_NE(column.err.find("a column the export reads is missing."), std::string::npos) << column.err;
  // Files the user named wrongly say what they are.
  const auto noPassword =
      test::RunCli({"--database", path_, "--password-file", dir_->File("nope.pw"), "--output-dir", out_, "--all"}, env_);
  EXPECT_NE(noPassword.err.find("The file does not exist."), std::string::npos) << noPassword.err;
  const auto outputIsAFile =
      test::RunCli({"--database", path_, "--password-env", "IEX_TEST_PW", "--output-dir", dir_->File("zero.fdb"), "--all"}, env_);
  EXPECT_EQ(outputIsAFile.status, 2);
  EXPECT_NE(outputIsAFile.err.find("is a file, not a folder"), std::string::npos) << outputIsAFile.err;
}

TEST_F(CliSafetyTest, TheEmbeddedEngineIsSaidNotToCheckThePassword) {
  const auto r = Run(path_);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("did not check the password"), std::string::npos) << r.err;
  if (test::ServerHost().empty()) return;
  setenv("IEX_TEST_PW", test::ServerPassword().c_str(), 1);
  const auto remote = Run(test::RemotePath(path_));
  setenv("IEX_TEST_PW", "x", 1);
  ASSERT_EQ(remote.status, 0) << remote.err;
  EXPECT_EQ(remote.err.find("did not check the password"), std::string::npos) << remote.err;
}

TEST_F(CliSafetyTest, ASecondExportIntoTheSameFolderFailsAndChangesNothing) {
  TOutputTransaction first(DefaultFileSystem(), out_);  // another run, mid-way
  const auto r = Run(path_);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Another export is writing into " + out_ + " (pid " + std::to_string(getpid()) + ")"), std::string::npos)
      << r.err;
  EXPECT_TRUE(PreviousPairIntact());
}

TEST_F(CliSafetyTest, CtrlCStopsTheRunAndLeavesThePreviousPair) {
  test::FaultFileSystem files;
  files.target = "IMPACCT";
  files.onFirstWrite = [] { std::raise(SIGINT); };  // arrives while the run is under way
  env_.files = &files;
  const auto r = Run(path_);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("The export was stopped: interrupted by signal SIGINT (Ctrl-C)\nThe previous import files are unchanged."),
            std::string::npos)
      << r.err;
  EXPECT_TRUE(PreviousPairIntact());
  EXPECT_EQ(std::distance(fs::directory_iterator(out_), fs::directory_iterator()), 3) << "the pair and the lock file only";
}

TEST_F(CliSafetyTest, ASignalIgnoredAtStartStaysIgnoredAsNohupAsks) {
  test::FaultFileSystem files;
  files.target = "IMPACCT";
  files.onFirstWrite = [] { std::raise(SIGHUP); };  // the terminal closes under a nohup run
  env_.files = &files;
  std::signal(SIGHUP, SIG_IGN);
  const auto r = Run(path_);
  std::signal(SIGHUP, SIG_DFL);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(PreviousPairIntact());
}

TEST_F(CliSafetyTest, PasswordFilesMustBeRegularSmallAndAreBestPrivate) {
  const std::string fifo = dir_->File("pw.fifo");
  mkfifo(fifo.c_str(), 0600);
  const std::string big = dir_->File("pw.big");
  test::WriteFile(big, std::string(70000, 'p'));
  const std::string open = dir_->File("pw.open");
  test::WriteFile(open, "x\n");
  chmod(open.c_str(), 0644);
  auto run = [&](const std::string& file) {
    return test::RunCli({"--database", path_, "--password-file", file, "--output-dir", out_, "--all"}, env_);
  };
  const auto fromFifo = run(fifo);  // a FIFO without a writer must not hang
  EXPECT_EQ(fromFifo.status, 2);
  EXPECT_NE(fromFifo.err.find("is not a regular file"), std::string::npos) << fromFifo.err;
  const auto fromBig = run(big);
  EXPECT_EQ(fromBig.status, 2);
  EXPECT_NE(fromBig.err.find("larger than 64 KiB"), std::string::npos) << fromBig.err;
  EXPECT_TRUE(PreviousPairIntact());
  const auto fromOpen = run(open);
  EXPECT_EQ(fromOpen.status, 0) << fromOpen.err;
  EXPECT_NE(fromOpen.err.find("may be read by others"), std::string::npos) << fromOpen.err;
}

TEST_F(CliSafetyTest, SettingsThatCannotBeSavedNameTheHiveAndSayTheFilesAreComplete) {
  test::TempDir home;
  TPlatformPaths paths = test::TempPaths(home);
  // A file where the hive's folder should be: not even root can write there.
  test::WriteFile(home.File("blocker"), "");
  paths.userHive = home.File("blocker/HKEY_CURRENT_USER.reg");
  TRegistrySettingsStore store(paths);
  const std::string json = home.File("summary.json");
  const auto r = Run(path_, {"--save-settings", "--summary-json", json}, &store);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(paths.userHive), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Failed to set data for 'ZAMALIAS': "), std::string::npos) << r.err << " names why";
  // The summary says what happened: both files in place, the settings not saved.
  const std::string summary = test::ReadFile(json);
  EXPECT_NE(summary.find("\"filesWritten\": true"), std::string::npos) << summary;
  EXPECT_NE(summary.find("\"settingsSaved\": false"), std::string::npos) << summary;
  EXPECT_NE(r.err.find("are complete; only the settings were not saved."), std::string::npos) << r.err;
  EXPECT_FALSE(PreviousPairIntact()) << "the new files are in place";
}

// The password never goes to a server by the legacy method, whose hash a
// false server could collect: a server that takes only that is refused,
// and the message says why.
// A user outside the firebird group: the embedded engine's lock folder
// refuses, which is said in words with the group and both ways out.
TEST_F(CliSafetyTest, AUserOutsideTheEnginesGroupIsToldOfTheLockFolder) {
  if (geteuid() != 0) GTEST_SKIP() << "runs the program as another user, which needs root";
  test::TempDir open;  // 0777, as the database and output folders of a shared machine may be
  fs::copy_file(path_, open.File("agency.fdb"));
  chmod(open.File("agency.fdb").c_str(), 0666);
  fs::create_directories(open.File("out"));
  fs::permissions(open.File("out"), fs::perms::all);
  fs::create_directories(open.File("lock"));
  fs::permissions(open.File("lock"), fs::perms::owner_all);  // the engine's group's, not the user's
  // The user's own home and settings, and sanitizers that need no file of ours.
  const std::string command = "HOME=" + open.Path() + " XDG_CONFIG_HOME=" + open.File("config") +
                              " ASAN_OPTIONS=detect_leaks=0 LSAN_OPTIONS= MOVRA_USER_HIVE=" + open.File("hive.reg") +
                              " FIREBIRD_LOCK=" + open.File("lock") + " IEX_TEST_PW=x setpriv --reuid=65534 --regid=65534 "
                              "--clear-groups " IEX_PROGRAM " export --database " + open.File("agency.fdb") +
                              " --password-env IEX_TEST_PW --output-dir " + open.File("out") + " --all 2>" + open.File("err");
  const int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const std::string err = test::ReadFile(open.File("err"));
  EXPECT_NE(err.find("Unable to connect to database.\nThis user may not use the database engine's lock folder, which "
                     "belongs to the firebird group: add the user to that group (and log in again), or reach the file "
                     "through the local database server (localhost:" + open.File("agency.fdb") + ")."),
            std::string::npos)
      << err;
}

TEST_F(CliSafetyTest, AServerTakingOnlyTheLegacyLoginIsRefused) {
  if (test::ServerHost().empty()) GTEST_SKIP() << "no Firebird server (IEX_FB_HOST) for this run";
  const test::TPrivateServer legacy("Legacy_Auth");
  ASSERT_TRUE(legacy.Started());
  setenv("IEX_TEST_PW", test::ServerPassword().c_str(), 1);
  const std::string server = legacy.Path(path_);
  const auto r = Run(server);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("The server refused the login. It may accept only the legacy password method"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("--allow-legacy-login"), std::string::npos) << r.err;
  EXPECT_TRUE(PreviousPairIntact());
  // Asked for, the legacy login reaches it, and the run says what that costs.
  const auto allowed = Run(server, {"--allow-legacy-login"});
  setenv("IEX_TEST_PW", "x", 1);
  EXPECT_EQ(allowed.status, 0) << allowed.err;
  EXPECT_NE(allowed.err.find("Warning: the legacy login is allowed: a server that takes it gets the password's hash"),
            std::string::npos)
      << allowed.err;
}

// A stop over TCP ends the run within a second or so even when the server
// no longer answers (frozen mid-run): the statement is cancelled, and a
// connection that does not answer the cancel is dropped. Never a crash.
TEST_F(CliSafetyTest, AStopOverTcpEndsPromptlyEvenWithTheServerFrozen) {
  if (test::ServerHost().empty()) GTEST_SKIP() << "no Firebird server (IEX_FB_HOST) for this run";
  const test::TPrivateServer server;
  ASSERT_TRUE(server.Started());
  setenv("IEX_TEST_PW", test::ServerPassword().c_str(), 1);
  for (const bool frozen : {false, true, true, false, true}) {
    test::FaultFileSystem files;
    files.target = "IMPACCT";
    std::chrono::steady_clock::time_point stopped;
    files.onFirstWrite = [&] {
      if (frozen) server.Freeze();
      stopped = std::chrono::steady_clock::now();
      std::raise(SIGINT);
    };
    env_.files = &files;
    const auto r = Run(server.Path(path_));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - stopped).count();
    server.Thaw();
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("The export was stopped: interrupted by signal SIGINT"), std::string::npos) << r.err;
    EXPECT_LT(seconds, 3.0) << (frozen ? "frozen server" : "live server");
    EXPECT_TRUE(PreviousPairIntact());
  }
  setenv("IEX_TEST_PW", "x", 1);
}

// A server that stops answering mid-run ends the run in bounded time, and
// the failure names it and says it stopped answering.
TEST_F(CliSafetyTest, AServerThatStopsAnsweringEndsTheRunAndIsNamed) {
  if (test::ServerHost().empty()) GTEST_SKIP() << "no Firebird server (IEX_FB_HOST) for this run";
  const test::TPrivateServer server;
  ASSERT_TRUE(server.Started());
  setenv("IEX_TEST_PW", test::ServerPassword().c_str(), 1);
  const int limit = db::TDatabase::SilenceLimitSeconds.exchange(2);
  test::FaultFileSystem files;
  files.target = "IMPACCT";
  files.onFirstWrite = [&] { server.Freeze(); };
  env_.files = &files;
  const auto started = std::chrono::steady_clock::now();
  const auto r = Run(server.Path(path_));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  server.Thaw();
  db::TDatabase::SilenceLimitSeconds = limit;
  setenv("IEX_TEST_PW", "x", 1);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("The database server (host 127.0.0.1, port "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(") stopped answering while the export read it: nothing came for 2 seconds"), std::string::npos)
      << r.err;
  EXPECT_LT(seconds, 10.0);
  EXPECT_TRUE(PreviousPairIntact());
}

}  // namespace
}  // namespace iex
