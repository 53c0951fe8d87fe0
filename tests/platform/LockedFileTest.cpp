// Rewrites of the small shared files (hives, INI files): atomic, never
// through a planted link, keeping the file's mode, through a link the user made.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TempPaths.h"
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
  fs::create_directories(dir.File("real"));
  const std::string target = dir.File("real/hive.reg"), link = dir.File("hive.reg");
  test::WriteFile(target, "old");
  fs::create_symlink(target, link);
  TLockedFile(link, true).Write("new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::ReadFile(target), "new");
}

}  // namespace
}  // namespace iex
