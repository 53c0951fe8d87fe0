// The files of the import folder as Windows treats them: another program
// holding the old file open delays the rename, and one that keeps holding it
// is named.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "TempPaths.h"
#include "platform/Error.h"
#include "platform/FileSystem.h"

namespace iex {
namespace {

// The old file open as a reader that does not share deletion (most do not).
HANDLE HoldOpen(const std::string& path) {
  return CreateFileW(std::wstring(path.begin(), path.end()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(WinFileSystem, ARenameWaitsForAReaderThenNamesTheFileInUse) {
  test::TempDir dir;
  const std::string from = dir.File("new.dat"), to = dir.File("IMPINV.DAT");
  test::WriteFile(to, "old");
  test::WriteFile(from, "new");
  TFileSystem& fs = DefaultFileSystem();

  HANDLE reader = HoldOpen(to);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  std::thread closer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    CloseHandle(reader);
  });
  EXPECT_NO_THROW(fs.Rename(from, to)) << "the reader let go within the wait";
  closer.join();
  EXPECT_EQ(test::ReadFile(to), "new");

  test::WriteFile(from, "newer");
  reader = HoldOpen(to);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  try {
    fs.Rename(from, to);
    ADD_FAILURE() << "renamed over a file held open";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.CauseText().rfind("The file is open in another program.", 0), 0u) << e.CauseText();
  }
  CloseHandle(reader);
  EXPECT_EQ(test::ReadFile(to), "new");
  EXPECT_EQ(test::ReadFile(from), "newer");
}

}  // namespace
}  // namespace iex
