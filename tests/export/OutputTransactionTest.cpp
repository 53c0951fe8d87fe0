// The import files change all at once or not at all.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "ChildProcesses.h"
#include "FaultFileSystem.h"
#include "TempPaths.h"
#include "export/OutputTransaction.h"
#include "platform/Error.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

class OutputTransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    out_ = dir_.File("out");
    fs::create_directories(out_);
    test::WriteFile(out_ + "/IMPACCT.DAT", "old accounts\r\n");
    test::WriteFile(out_ + "/IMPINV.DAT", "old invoices\r\n");
  }
  void Write(TOutputTransaction& t, const std::string& name, const std::string& text) {
    TLineWriter w = t.Create(name);
    w.Field(text);
    w.EndLine();
    w.Close();
  }
  bool PreviousPairIntact() {
    return test::ReadFile(out_ + "/IMPACCT.DAT") == "old accounts\r\n" &&
           test::ReadFile(out_ + "/IMPINV.DAT") == "old invoices\r\n";
  }
  std::vector<std::string> Leftovers() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(out_)) {
      const std::string name = TextOfPath(e.path().filename());
      if (name != "IMPACCT.DAT" && name != "IMPINV.DAT" && name != TOutputTransaction::kLockName) names.push_back(name);
    }
    return names;
  }

  test::TempDir dir_;
  std::string out_;
  test::FaultFileSystem fs_;
};

// Windows has no mode bits (the files take the folder's access list), and
// its links need rights a user seldom has: these two are for POSIX systems.
#ifndef _WIN32
TEST_F(OutputTransactionTest, CommitPutsBothInPlaceOwnerAndGroupOnlyEvenUnderUmaskZero) {
  const mode_t old = umask(0);
  {
    TOutputTransaction t(fs_, out_);
    Write(t, "IMPACCT.DAT", "new accounts");
    Write(t, "IMPINV.DAT", "new invoices");
    EXPECT_TRUE(PreviousPairIntact()) << "nothing changes before the commit";
    t.Commit();
  }
  umask(old);
  EXPECT_EQ(test::ReadFile(out_ + "/IMPACCT.DAT"), "new accounts\t\r\n");
  EXPECT_EQ(test::ReadFile(out_ + "/IMPINV.DAT"), "new invoices\t\r\n");
  for (const char* name : {"/IMPACCT.DAT", "/IMPINV.DAT"})
    EXPECT_EQ(fs::status(out_ + name).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_TRUE(Leftovers().empty());
}
#endif

TEST_F(OutputTransactionTest, FailuresLeaveThePreviousPairAndNoTemporaryFile) {
  struct Case {
    const char* what;
    const char* target;
    long failAtByte;
    bool failRename;
    int error;
    const char* message;
  } cases[] = {
      {"full disk in the middle of the second file", "IMPINV", 10, false, ENOSPC, "Can not write to file "},
      {"full disk at the first byte of the first file", "IMPACCT", 0, false, ENOSPC, "The disk is full."},
      {"read-only disk", "IMPACCT", 0, false, EROFS, "The file system is read-only."},
      {"the first rename fails", "IMPACCT", -1, true, EACCES, "Permission denied."},
      {"the second rename fails after the first is in place", "IMPINV", -1, true, EIO, "Input/output error"},
  };
  for (const Case& c : cases) {
    fs_.target = c.target;
    fs_.failAtByte = c.failAtByte;
    fs_.failRename = c.failRename;
    fs_.error = c.error;
    try {
      TOutputTransaction t(fs_, out_);
      Write(t, "IMPACCT.DAT", "new accounts");
      Write(t, "IMPINV.DAT", "new invoices");
      t.Commit();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EMvError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
    }
    EXPECT_TRUE(PreviousPairIntact()) << c.what;
    EXPECT_TRUE(Leftovers().empty()) << c.what << ": " << (Leftovers().empty() ? "" : Leftovers()[0]);
  }
}

#ifndef _WIN32
TEST_F(OutputTransactionTest, PlantedLinksAreReplacedNeverFollowed) {
  const std::string victim = dir_.File("victim.txt");
  test::WriteFile(victim, "precious");
  fs::remove(out_ + "/IMPACCT.DAT");
  fs::create_symlink(victim, out_ + "/IMPACCT.DAT");
  fs::remove(out_ + "/IMPINV.DAT");
  fs::create_symlink(dir_.File("dangling-target"), out_ + "/IMPINV.DAT");
  // A link planted under the temporary name refuses the file instead of writing through it.
  fs::create_symlink(victim, out_ + "/" + TOutputTransaction::PartialName("IMPACCT.DAT", test::OwnProcessId()));
  {
    TOutputTransaction t(fs_, out_);  // our own stale name goes first
    Write(t, "IMPACCT.DAT", "new accounts");
    Write(t, "IMPINV.DAT", "new invoices");
    t.Commit();
  }
  EXPECT_EQ(test::ReadFile(victim), "precious");
  EXPECT_FALSE(fs::exists(dir_.File("dangling-target")));
  EXPECT_FALSE(fs::is_symlink(out_ + "/IMPACCT.DAT"));
  EXPECT_EQ(test::ReadFile(out_ + "/IMPACCT.DAT"), "new accounts\t\r\n");
  EXPECT_EQ(test::ReadFile(out_ + "/IMPINV.DAT"), "new invoices\t\r\n");
}
#endif

TEST_F(OutputTransactionTest, OneRunPerFolderAndStaleFilesOfDeadRunsGo) {
  // A process that has ended left its temporary file; a live one's stays.
  const int child = test::EndedProcessId();
  const std::string dead = out_ + "/" + TOutputTransaction::PartialName("IMPINV.DAT", child);
  const test::TLiveProcess other;
  const std::string alive = out_ + "/" + TOutputTransaction::PartialName("IMPINV.DAT", other.Id());
  test::WriteFile(dead, "torn");
  test::WriteFile(alive, "someone else's");
  TOutputTransaction first(fs_, out_);
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(alive));
  try {
    TOutputTransaction second(fs_, out_);
    FAIL() << "a second run took the same folder";
  } catch (const EMvError& e) {
    EXPECT_NE(std::string(e.what()).find("Another export is writing into " + out_ + " (pid " + std::to_string(test::OwnProcessId()) + ")"),
              std::string::npos)
        << e.what();
  }
  EXPECT_TRUE(PreviousPairIntact());
}

}  // namespace
}  // namespace iex
