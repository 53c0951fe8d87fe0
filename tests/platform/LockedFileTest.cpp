// Rewrites of the small shared files (hives, INI files): atomic, never
// through a planted link, keeping the file's mode, through a link the user made.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TempPaths.h"
#include "platform/Error.h"
#include "platform/LockedFile.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

fs::perms Mode(const std::string& path) { return fs::status(path).permissions() & fs::perms::all; }

TEST(LockedFile, APlantedTemporaryLinkIsRemovedNotWrittenThrough) {
  test::TempDir dir;
  const std::string victim = dir.File("victim"), hive = dir.File("hive.reg");
  test::WriteFile(victim, "precious");
  fs::create_symlink(victim, hive + ".tmp." + std::to_string(getpid()));
  TLockedFile(hive, true).Write("new");
  EXPECT_EQ(test::ReadFile(victim), "precious");
  EXPECT_EQ(test::ReadFile(hive), "new");
}

TEST(LockedFile, ModesAreKeptAndNewFilesAreOwnerOnly) {
  test::TempDir dir;
  chmod(dir.Path().c_str(), 0755);  // a home folder: its owner's alone
  const std::string kept = dir.File("kept.reg"), fresh = dir.File("fresh.reg");
  test::WriteFile(kept, "old");
  chmod(kept.c_str(), 0600);
  const mode_t old = umask(0);
  TLockedFile(kept, true).Write("new");
  TLockedFile(fresh, true).Write("new");
  umask(old);
  EXPECT_EQ(Mode(kept), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Mode(fresh), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(LockedFile, AHiveThatIsALinkIsWrittenThroughToItsTarget) {
  test::TempDir dir;
  chmod(dir.Path().c_str(), 0755);  // a link the owner made, in a folder only the owner may write
  fs::create_directories(dir.File("real"));
  const std::string target = dir.File("real/hive.reg"), link = dir.File("hive.reg");
  test::WriteFile(target, "old");
  fs::create_symlink(target, link);
  TLockedFile(link, true).Write("new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::ReadFile(target), "new");
}

// A folder the group may write (the all-users alias folder): new files are
// the group's to read and write, and links planted there are never followed,
// neither at the file nor at its lock.
TEST(LockedFile, InAFolderSharedWithAGroupFilesAreTheGroupsAndLinksAreNotFollowed) {
  test::TempDir dir;
  const std::string shared = dir.File("Movra");
  fs::create_directories(shared);
  ASSERT_EQ(chmod(shared.c_str(), 02775), 0);
  const std::string ini = shared + "/MOVRAALIAS.INI";
  TLockedFile(ini, true).Write("[ALIASES]\r\n");
  EXPECT_EQ(Mode(ini), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write |
                           fs::perms::others_read);
  EXPECT_EQ(Mode(ini + ".lock") & fs::perms::group_write, fs::perms::group_write);

  const std::string victim = dir.File("root-owned"), elsewhere = dir.File("created-elsewhere");
  test::WriteFile(victim, "precious");
  fs::remove(ini);
  fs::remove(ini + ".lock");
  fs::create_symlink(victim, ini);
  fs::create_symlink(elsewhere, ini + ".lock");
  TLockedFile(ini, true).Write("[ALIASES]\r\nA=/a.fdb\r\n");
  EXPECT_EQ(test::ReadFile(victim), "precious");
  EXPECT_FALSE(fs::exists(elsewhere)) << "a planted lock link made us create another file";
  EXPECT_FALSE(fs::is_symlink(ini));
  EXPECT_EQ(test::ReadFile(ini), "[ALIASES]\r\nA=/a.fdb\r\n");
}

// A FIFO in the place of a shared file never hangs a reader, and a link
// there is not read through where others may write the folder.
TEST(LockedFile, ReadingNeverBlocksOnAFifoNorFollowsALinkInASharedFolder) {
  test::TempDir dir;
  const std::string shared = dir.File("Movra");
  fs::create_directories(shared);
  ASSERT_EQ(chmod(shared.c_str(), 02775), 0);
  const std::string ini = shared + "/MOVRAALIAS.INI";
  ASSERT_EQ(mkfifo(ini.c_str(), 0666), 0);
  try {
    (void)TLockedFile(ini, false).Read();
    ADD_FAILURE() << "a FIFO was read";
  } catch (const EMvError& e) {
    EXPECT_NE(std::string(e.what()).find("is not a regular file"), std::string::npos) << e.what();
  }
  fs::remove(ini);
  test::WriteFile(dir.File("elsewhere.ini"), "[ALIASES]\r\nSECRET=/x.fdb\r\n");
  fs::create_symlink(dir.File("elsewhere.ini"), ini);
  try {
    const std::string read = TLockedFile(ini, false).Read();
    ADD_FAILURE() << "read through a link: " << read;
  } catch (const EMvError& e) {
    EXPECT_NE(std::string(e.what()).find("is a symbolic link in a folder others may write"), std::string::npos) << e.what();
  }
  // In a private folder a link is the user's own, and is read through.
  fs::create_directories(dir.File("private"));
  ASSERT_EQ(chmod(dir.File("private").c_str(), 0700), 0);
  const std::string own = dir.File("private/own.ini");
  fs::create_symlink(dir.File("elsewhere.ini"), own);
  EXPECT_EQ(TLockedFile(own, false).Read(), "[ALIASES]\r\nSECRET=/x.fdb\r\n");
}

}  // namespace
}  // namespace iex
