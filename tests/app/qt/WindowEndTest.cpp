// However the window is told to end (SIGTERM, the display going away), the
// process ends within seconds and leaves the embedded engine free: another
// process opens the same database right after.
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "AgencyDb.h"
#include "DbWriter.h"
#include "TempPaths.h"

namespace iex {
namespace {

using namespace std::chrono_literals;

// A child process with its output read line by line.
struct TChild {
  pid_t pid = -1;
  int out = -1;

  // `errFile`: where its standard error goes (empty: ours).
  static TChild Start(const std::vector<std::string>& args, const std::vector<std::string>& env,
                      const std::string& errFile = "") {
    int pipeFd[2];
    if (pipe(pipeFd) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(pipeFd[1], 1);
      if (!errFile.empty()) {
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (err >= 0) dup2(err, 2);
      }
      close(pipeFd[0]);
      for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
      std::vector<char*> argv;
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(pipeFd[1]);
    return {pid, pipeFd[0]};
  }
  // Reads until a line equals `line`; false at the end of the output.
  bool WaitFor(const std::string& line) {
    std::string got;
    char c;
    while (read(out, &c, 1) == 1) {
      if (c != '\n') {
        got += c;
        continue;
      }
      if (got == line) return true;
      got.clear();
    }
    return false;
  }
  // The exit status within `limit`, or -1 (then the child is killed).
  int Wait(std::chrono::seconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < until) {
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(50ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    pid = -1;
    return -1;
  }
  ~TChild() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    if (out >= 0) close(out);
  }
};

// An X server of the test's own; its display number is what it reports ready.
struct TXvfb {
  TChild server;
  std::string display;
  TXvfb() {
    int ready[2];
    if (pipe(ready) != 0) return;
    server.pid = fork();
    if (server.pid == 0) {
      close(ready[0]);
      const std::string fd = std::to_string(ready[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    // The server writes the number and its newline separately and dies if
    // the newline finds the pipe closed: read up to the newline.
    std::string number;
    char c = 0;
    while (read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (c == '\n' && !number.empty()) display = ":" + number;
  }
};

// Another process's embedded engine opens the file at once: nothing of the
// window's holds the engine's lock.
bool EngineFree(const std::string& db) {
  const std::string command = "echo 'SELECT 1 FROM RDB$DATABASE;' | timeout 30 isql-fb -q -user SYSDBA '" + db +
                              "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

class WindowEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    IEX_SKIP_WITHOUT_DATABASE();
    // The probe is the program as it runs, on this machine's own root: where
    // the default folder exists its runs would write there, not to the test's.
    if (std::filesystem::exists("/tovrane/db"))
      GTEST_SKIP() << "/tovrane/db exists on this machine: the probe's runs would write into it";
    tools::AgencyOptions o;
    o.invoices = 20000;
    db_ = test::MakeAgencyDb(dir_, "agency.fdb", o);
    out_ = dir_.File("out");
    std::filesystem::create_directories(out_);
    test::WriteFile(out_ + "/IMPACCT.DAT", "previous\r\n");
  }
  std::vector<std::string> Env(const std::string& platform, const std::string& display, bool exportToo) const {
    std::vector<std::string> env = {"IEX_PROBE_DB=" + db_, "IEX_PROBE_OUT=" + out_, "QT_QPA_PLATFORM=" + platform,
                                    "XDG_CONFIG_HOME=" + dir_.File("config"), "MOVRA_COMMON_APPDATA=" + dir_.File("common"),
                                    "MOVRA_USER_HIVE=" + dir_.File("user.reg"),
                                    "MOVRA_MACHINE_HIVE=" + dir_.File("machine.reg")};
    if (!display.empty()) env.push_back("DISPLAY=" + display);
    if (exportToo) env.push_back("IEX_PROBE_EXPORT=1");
    return env;
  }
  test::TempDir dir_;
  std::string db_, out_;
};

TEST_F(WindowEnd, SigtermEndsTheWindowAndFreesTheEngine) {
  struct Case {
    const char* what;
    bool xvfb, exportToo;
  } cases[] = {{"offscreen, connected", false, false},
               {"offscreen, during a run", false, true},
               {"under X, connected, then the X server gone", true, false}};
  for (const Case& c : cases) {
    std::unique_ptr<TXvfb> x;
    if (c.xvfb) {
      x = std::make_unique<TXvfb>();
      ASSERT_FALSE(x->display.empty()) << "Xvfb did not start";
    }
    TChild probe = TChild::Start({IEX_WINDOW_PROBE}, Env(c.xvfb ? "xcb" : "offscreen", x ? x->display : "", c.exportToo));
    ASSERT_TRUE(probe.WaitFor("page2")) << c.what;
    if (c.exportToo) {
      ASSERT_TRUE(probe.WaitFor("running")) << c.what;
    }
    kill(probe.pid, SIGTERM);
    if (x) kill(x->server.pid, SIGTERM);
    EXPECT_GE(probe.Wait(30s), 0) << c.what << ": the window did not end";
    EXPECT_TRUE(EngineFree(db_)) << c.what << ": another process could not open the database";
    EXPECT_EQ(test::ReadFile(out_ + "/IMPACCT.DAT"), "previous\r\n") << c.what << ": the previous file is kept";
  }
}

TEST_F(WindowEnd, TheDisplayGoingAwayEndsTheWindowAndFreesTheEngine) {
  TXvfb x;
  ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
  TChild probe = TChild::Start({IEX_WINDOW_PROBE}, Env("xcb", x.display, false));
  ASSERT_TRUE(probe.WaitFor("page2"));
  kill(x.server.pid, SIGKILL);  // the display goes; the window was told nothing
  EXPECT_GE(probe.Wait(30s), 0) << "the window did not end";
  EXPECT_TRUE(EngineFree(db_)) << "another process could not open the database";
}

}  // namespace
}  // namespace iex

namespace iex {
namespace {

// A file a run left half-written in the folder.
bool PartialFileIn(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().find(".partial-") != std::string::npos) return true;
  return false;
}

// The display lost during a run ends it as Close answered Yes does: the run
// stopped, no partial file left, the engine free at once, and one line of
// ours on standard error. Once before the files are begun, once while they
// are written.
TEST_F(WindowEnd, TheDisplayLostDuringARunStopsItAndLeavesNoPartialFile) {
  for (const bool writing : {false, true}) {
    const char* what = writing ? "while writing" : "before writing";
    TXvfb x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    const std::string err = dir_.File("stderr");
    TChild probe = TChild::Start({IEX_WINDOW_PROBE}, Env("xcb", x.display, true), err);
    ASSERT_TRUE(probe.WaitFor("page2")) << what;
    ASSERT_TRUE(probe.WaitFor("running")) << what;
    const auto giveUp = std::chrono::steady_clock::now() + 60s;
    while (writing && !PartialFileIn(out_) && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(!writing || PartialFileIn(out_)) << "the run never began its files in the test's folder";
    const auto lost = std::chrono::steady_clock::now();
    kill(x.server.pid, SIGKILL);
    EXPECT_EQ(probe.Wait(30s), 1) << what;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - lost).count();
    // Well under a second on an idle machine; the limit leaves room for a loaded one.
    EXPECT_LT(seconds, 2.0) << what;
    EXPECT_FALSE(PartialFileIn(out_)) << what;
    EXPECT_EQ(test::ReadFile(out_ + "/IMPACCT.DAT"), "previous\r\n") << what;
    EXPECT_TRUE(EngineFree(db_)) << what;
    const std::string said = test::ReadFile(err);
    EXPECT_NE(said.find("invoice-export: the display went away; the window ends, the previous files kept.\n"),
              std::string::npos)
        << what << ": " << said;
    EXPECT_EQ(said.find("X11 connection broke"), std::string::npos) << what << ": " << said;
    std::printf("%s: ended %.3f s after the display went\n", what, seconds);
  }
}

}  // namespace
}  // namespace iex
