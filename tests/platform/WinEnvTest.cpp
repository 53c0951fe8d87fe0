// The Windows machine as the program sees it: regional settings, folders and clock.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "platform/Env.h"
#include "platform/PathText.h"

namespace iex {
namespace {

TEST(WinEnv, RegionalSettingsFoldersAndClock) {
  const Env& env = DefaultEnv();
  const RegionalSettings r = env.Regional();
  EXPECT_NE(r.shortDateFormat.find('d'), std::string::npos) << r.shortDateFormat;
  EXPECT_NE(r.shortDateFormat.find('M'), std::string::npos) << r.shortDateFormat;
  EXPECT_NE(r.shortDateFormat.find(r.dateSeparator), std::string::npos);
  for (const std::string& month : r.shortMonthNames) EXPECT_FALSE(month.empty());
  EXPECT_TRUE(r.decimalSeparator == '.' || r.decimalSeparator == ',');

  const TPlatformPaths p = env.Paths();
  EXPECT_TRUE(p.userHive.empty() && p.machineHive.empty()) << "the machine's registry, no hive files";
  EXPECT_TRUE(std::filesystem::is_directory(PathOfText(p.userAppData))) << p.userAppData;
  EXPECT_TRUE(std::filesystem::is_directory(PathOfText(p.commonAppData))) << p.commonAppData;
  EXPECT_FALSE(p.userProfileName.empty());

  const std::string folder = env.ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_TRUE(std::filesystem::is_directory(PathOfText(folder))) << folder;
  EXPECT_EQ(env.FileSystemRoot().back(), '\\');

  // Local time: within a day of the C library's reading, whatever the zone.
  const double unixDays = static_cast<double>(std::time(nullptr)) / 86400.0 + 25569.0;
  EXPECT_NEAR(env.Now(), unixDays, 1.0);
}

}  // namespace
}  // namespace iex
