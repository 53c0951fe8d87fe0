// The import files change all at once or not at all.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <functional>

#include "platform/AnsiText.h"
#include "ChildProcesses.h"
#include "FaultFileSystem.h"
#include "TempPaths.h"
#include "export/CommitRecord.h"
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
  const std::string budget = out_ + "/.budget.xlsx.partial-" + std::to_string(child);
  test::WriteFile(budget, "not ours");
  TOutputTransaction first(fs_, out_);
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(alive));
  EXPECT_TRUE(fs::exists(budget)) << "another program's file of the same pattern";
  try {
    TOutputTransaction second(fs_, out_);
    FAIL() << "a second run took the same folder";
  } catch (const EMvError& e) {
    EXPECT_NE(std::string(e.what()).find("Another export is writing into " + NativeSeparators(out_) + " (pid " + std::to_string(test::OwnProcessId()) + ")"),
              std::string::npos)
        << e.what();
  }
  EXPECT_TRUE(PreviousPairIntact());
}

// What a folder holds after any run and the recovery of the next: the old
// pair or the new one, never one of each, and nothing else of ours.
class CommitProtocol : public OutputTransactionTest {
 protected:
  std::string Pair() {
    const std::string a = test::ReadFile(out_ + "/IMPACCT.DAT"), i = test::ReadFile(out_ + "/IMPINV.DAT");
    if (a == "old accounts\r\n" && i == "old invoices\r\n") return "old";
    if (a == "new accounts\t\r\n" && i == "new invoices\t\r\n") return "new";
    return "mixed: " + a + " / " + i;
  }
  // One run on `f`, as far as it gets; true when it committed.
  // `said`: the failure's message.
  bool Attempt(test::FaultFileSystem& f, std::string* said = nullptr) {
    try {
      TOutputTransaction t(f, out_);
      Write(t, "IMPACCT.DAT", "new accounts");
      Write(t, "IMPINV.DAT", "new invoices");
      t.Commit();
      return !f.crashed;
    } catch (const test::TCrash&) {
    } catch (const EMvError& e) {
      if (said) *said = e.what();
    }
    return false;
  }
  // The next run settles what it finds; then the pair must be whole.
  std::string Recover(bool refuseLinks) {
    test::FaultFileSystem next;
    next.refuseLinks = refuseLinks;
    TOutputTransaction t(next, out_);
    return t.RecoveryNote();
  }
};

// A crash after any change, the process's death or a power cut (what was
// not synced lost), leaves the old pair or the new one once the next run
// has looked: never a mix, a torn file or none.
TEST_F(CommitProtocol, ACrashAfterAnyChangeLeavesOnePairOnceTheNextRunHasLooked) {
  for (const bool powerLoss : {false, true})
  for (const bool refuseLinks : {false, true}) {
    const std::string how = std::string(powerLoss ? " (power cut)" : "") + (refuseLinks ? " (no links)" : "");
    int recovered = 0;
    for (long n = 1; n < 200; ++n) {
      SetUp();
      test::FaultFileSystem f;
      f.crashAfter = n;
      f.refuseLinks = refuseLinks;
      f.powerLoss = powerLoss;
      const bool done = Attempt(f);
      const std::string note = Recover(refuseLinks);
      recovered += !note.empty();
      const std::string pair = Pair();
      EXPECT_TRUE(pair == "old" || pair == "new") << "crash after change " << n << how << ": " << pair;
      EXPECT_TRUE(Leftovers().empty()) << "crash after change " << n << ": " << Leftovers()[0];
      if (done) {
        EXPECT_EQ(pair, "new");
        break;
      }
    }
    EXPECT_GT(recovered, 2) << "crashes inside the commit were settled by the next run";
  }
}

TEST_F(CommitProtocol, AnyChangeFailingLeavesOnePairAndSaysSo) {
  for (bool refuseLinks : {false, true}) {
    for (long n = 1; n < 200; ++n) {
      SetUp();
      test::FaultFileSystem f;
      f.failChange = n;
      f.error = EIO;
      f.refuseLinks = refuseLinks;
      std::string said;
      const bool done = Attempt(f, &said);
      Recover(refuseLinks);
      const std::string pair = Pair();
      EXPECT_EQ(pair, done || f.changes < n ? "new" : pair == "new" ? "new" : "old")
          << "change " << n << " failing" << (refuseLinks ? " (no links)" : "");
      if (!done) {
        // It says why, and what it says of the pair is what the folder holds.
        EXPECT_NE(said.find(EFileError::Cause(EIO)), std::string::npos) << "change " << n << ": " << said;
        if (said.find("The previous import files are unchanged.") != std::string::npos) {
          EXPECT_EQ(pair, "old") << said;
        }
        if (said.find("The import files are in place") != std::string::npos) {
          EXPECT_EQ(pair, "new") << said;
        }
      }
      EXPECT_TRUE(pair == "old" || pair == "new") << "change " << n << ": " << pair;
      EXPECT_TRUE(Leftovers().empty()) << "change " << n << ": " << Leftovers()[0];
      if (f.changes < n) break;  // the run made fewer changes: every one has failed once
    }
  }
}

// A crash after both new files went in, then one of them edited or removed
// before the next run: that run neither completes nor undoes the commit
// (either would give a mixed pair), keeps every copy and says what it found.
TEST_F(CommitProtocol, AFileChangedAfterAnInterruptedCommitKeepsEveryCopy) {
  for (const bool removed : {false, true}) {
    bool planted = false;
    for (long n = 1; n < 200 && !planted; ++n) {
      fs::remove_all(dir_.File("out"));
      SetUp();
      test::FaultFileSystem f;
      f.crashAfter = n;
      Attempt(f);
      planted = fs::exists(out_ + "/" + TCommitRecord::kName) && Pair() == "new";
    }
    ASSERT_TRUE(planted) << "no crash left both new files in place with the record";
    if (removed)
      fs::remove(out_ + "/IMPINV.DAT");
    else
      test::WriteFile(out_ + "/IMPINV.DAT", "edited by hand\r\n");
    const auto before = Leftovers();
    try {
      Recover(false);
      ADD_FAILURE() << "a changed file was settled as if it were the commit's";
    } catch (const EMvError& e) {
      EXPECT_NE(std::string(e.what()).find("IMPINV.DAT changed since (edited, replaced or removed)"), std::string::npos)
          << e.what();
      EXPECT_NE(std::string(e.what()).find(".IMPACCT.DAT.previous-"), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::ReadFile(out_ + "/IMPACCT.DAT"), "new accounts\t\r\n");
    EXPECT_EQ(Leftovers(), before) << "every kept copy stays";
  }
}

// Records the program did not write, or no longer whole: none reaches outside
// the folder or changes a file; each stops the run with what it found.
TEST_F(CommitProtocol, PlantedAndTornRecordsChangeNothing) {
  const std::string digest = "14:0123456789abcdef";
  const struct {
    const char* what;
    std::string record;
    const char* says;
  } cases[] = {
      {"torn", "invoice-export commit 1\nfile IMPACCT.DAT .IMPACCT.DAT.partial-7 " + digest + " link .IMPACCT.DAT.pre",
       "which is no commit record of this program"},
      {"another program's", "PK\x03\x04 some archive", "which is no commit record of this program"},
      {"naming ../", "invoice-export commit 1\nfile ../IMPACCT.DAT .p " + digest + " link .q\nend\n",
       "which is no commit record of this program"},
      {"naming an absolute path", "invoice-export commit 1\nfile IMPACCT.DAT /etc/passwd " + digest + " link .q\nend\n",
       "which is no commit record of this program"},
      {"whose digests match neither file",
       "invoice-export commit 1\nfile IMPACCT.DAT .IMPACCT.DAT.partial-7 " + digest + " link .IMPACCT.DAT.previous-7\n"
       "file IMPINV.DAT .IMPINV.DAT.partial-7 " + digest + " link .IMPINV.DAT.previous-7\nend\n",
       "changed since (edited, replaced or removed)"},
  };
  for (const auto& c : cases) {
    fs::remove_all(dir_.File("out"));
    SetUp();
    test::WriteFile(out_ + "/.IMPACCT.DAT.previous-7", "kept accounts\r\n");
    test::WriteFile(out_ + "/" + TCommitRecord::kName, c.record);
    const auto before = Leftovers();
    try {
      Recover(false);
      ADD_FAILURE() << c.what << ": settled";
    } catch (const EMvError& e) {
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << c.what << ": " << e.what();
    }
    EXPECT_EQ(Pair(), "old") << c.what;
    EXPECT_EQ(Leftovers(), before) << c.what;
  }
}

// No room for the second name of the previous file: the disk is full, said
// of the import file and its folder, and nothing changes. (It is not a file
// system without links, where the previous file would be renamed aside.)
TEST_F(CommitProtocol, ADiskTooFullForALinkSaysSoAndChangesNothing) {
  fs_.linkError = ENOSPC;
  try {
    TOutputTransaction t(fs_, out_);
    Write(t, "IMPACCT.DAT", "new accounts");
    Write(t, "IMPINV.DAT", "new invoices");
    t.Commit();
    ADD_FAILURE() << "committed on a full disk";
  } catch (const EMvError& e) {
    EXPECT_NE(std::string(e.what()).find(NativeSeparators(out_ + "/IMPACCT.DAT") + ".\nThe disk is full.\nThe previous import "
                                         "files are unchanged."),
              std::string::npos)
        << e.what();
    EXPECT_EQ(std::string(e.what()).find(TCommitRecord::kName), std::string::npos) << e.what();
  }
  EXPECT_EQ(Pair(), "old");
  EXPECT_TRUE(Leftovers().empty());
}

// The second rename failing on a disk without links: the first file, renamed
// aside and replaced, comes back.
TEST_F(CommitProtocol, WithoutLinksAFailedSecondRenamePutsTheFirstBack) {
  fs_.refuseLinks = true;
  fs_.target = "IMPINV";
  fs_.failRename = true;
  fs_.error = EIO;
  EXPECT_FALSE(Attempt(fs_));
  EXPECT_EQ(Pair(), "old");
  EXPECT_TRUE(Leftovers().empty());
  fs_.failRename = false;
  EXPECT_TRUE(Attempt(fs_));
  EXPECT_EQ(Pair(), "new");
  EXPECT_TRUE(Leftovers().empty());
}

#ifndef _WIN32
// The lock file is never written, and never taken through a second name of
// another file; users of the folder's group share it.
TEST_F(OutputTransactionTest, TheLockIsTakenOnlyOnAFileOfItsOwn) {
  const std::string victim = dir_.File("victim.txt");
  test::WriteFile(victim, "precious secret");
  const std::string lock = out_ + "/" + TOutputTransaction::kLockName;
  // Each refused lock is named, with why and what to do; nothing is written.
  const struct {
    std::function<void()> plant;
    std::string why;
  } planted[] = {{[&] { fs::create_hard_link(victim, lock); }, "has a second name (a hard link"},
                 {[&] { fs::create_symlink(victim, lock); }, "is a symbolic link"},
                 {[&] { mkfifo(lock.c_str(), 0600); }, "is no regular file (a FIFO or a device)"}};
  for (const auto& p : planted) {
    p.plant();
    try {
      TOutputTransaction t(fs_, out_);
      ADD_FAILURE() << "a lock taken that " << p.why;
    } catch (const EMvError& e) {
      EXPECT_EQ(std::string(e.what()).find("precious"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("The export's lock file " + NativeSeparators(lock) + " " + p.why), std::string::npos)
          << e.what();
      EXPECT_NE(std::string(e.what()).find("Remove it (it holds no data"), std::string::npos) << e.what();
    }
    fs::remove(lock);
  }
  EXPECT_EQ(test::ReadFile(victim), "precious secret");
  { TOutputTransaction t(fs_, out_); }
  EXPECT_EQ(test::ReadFile(out_ + "/" + TOutputTransaction::kLockName), "") << "nothing is written into the lock";
  EXPECT_EQ(fs::status(out_ + "/" + TOutputTransaction::kLockName).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  // A folder shared with a group: the lock is the group's too.
  const std::string shared = dir_.File("shared");
  fs::create_directories(shared);
  chmod(shared.c_str(), 02775);
  { TOutputTransaction t(fs_, shared); }
  EXPECT_EQ(fs::status(shared + "/" + TOutputTransaction::kLockName).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write);
}
#endif

}  // namespace
}  // namespace iex
