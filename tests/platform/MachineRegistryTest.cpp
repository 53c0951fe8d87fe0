// The machine's own registry, as Windows keeps it; the test's private key
// stands in for the user's (TestRegistry.h).
#include <gtest/gtest.h>

#include <algorithm>

#include "TempPaths.h"
#include "platform/Error.h"
#include "platform/Registry.h"

namespace iex {
namespace {

class MachineRegistryTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  TPlatformPaths paths_ = test::TempPaths(dir_);  // no hive files: the machine's registry
  TRegistry reg_{paths_};
};

TEST_F(MachineRegistryTest, ValuesKeepTheirTypeAndEightBitText) {
  ASSERT_TRUE(reg_.OpenKey("\\Software\\MOVRA\\Caf\xE9", true));
  reg_.WriteStrings({{"Path", "C:\\Donn\xE9" "es\\agency.fdb"}, {"", "default"}});
  reg_.WriteInteger("Port", -2);
  reg_.WriteExpandString("Temp", "%TEMP%\\x");
  TRegistry other(paths_, TRegAccess::Read);
  ASSERT_TRUE(other.OpenKey("\\software\\movra\\CAF\xC9", false)) << "names compare without case";
  EXPECT_EQ(other.ReadString("Path"), "C:\\Donn\xE9" "es\\agency.fdb");
  EXPECT_EQ(other.ReadString(""), "default");
  EXPECT_EQ(other.ReadInteger("Port"), -2);
  EXPECT_EQ(other.GetDataType("Temp"), TRegDataType::rdExpandString);
  EXPECT_EQ(other.ReadString("Temp"), "%TEMP%\\x");  // read unexpanded
  EXPECT_THROW(other.ReadInteger("Path"), EMvError);
  EXPECT_THROW(other.WriteString("Path", "y"), EMvError) << "opened for reading";
  std::vector<std::string> names;
  other.GetValueNames(names);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"", "Path", "Port", "Temp"}));
}

TEST_F(MachineRegistryTest, KeysAreMadeListedRenamedAndDeletedWithWhatIsBelow) {
  EXPECT_FALSE(reg_.OpenKey("\\Software\\MOVRA\\ALIASES", false)) << "not made unless asked";
  ASSERT_TRUE(reg_.OpenKey("\\Software\\MOVRA\\ALIASES\\INTERBASE\\MAIN", true));
  reg_.WriteString("Port", "3050");
  ASSERT_TRUE(reg_.OpenKey("\\Software\\MOVRA\\ALIASES\\INTERBASE", false));
  reg_.WriteString("MAIN", "/db/main.fdb");
  reg_.RenameValue("MAIN", "RENAMED");
  EXPECT_FALSE(reg_.ValueExists("MAIN"));
  EXPECT_EQ(reg_.ReadString("RENAMED"), "/db/main.fdb");
  std::vector<std::string> keys;
  reg_.GetKeyNames(keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"MAIN"}));
  EXPECT_TRUE(reg_.DeleteKey("\\Software\\MOVRA\\ALIASES"));
  EXPECT_FALSE(reg_.KeyExists("\\Software\\MOVRA\\ALIASES"));
  EXPECT_FALSE(reg_.DeleteKey("\\Software\\MOVRA\\ALIASES")) << "nothing left to delete";
}

TEST_F(MachineRegistryTest, UsersHoldsTheCurrentUsersProfile) {
  ASSERT_TRUE(reg_.OpenKey("\\Software\\MOVRA\\ALIASES\\INTERBASE", true));
  reg_.WriteString("MINE", "/db/mine.fdb");
  TRegistry users(paths_, TRegAccess::Read);
  users.RootKey = THKey::Users;
  ASSERT_TRUE(users.OpenKey("\\", false));
  std::vector<std::string> profiles;
  users.GetKeyNames(profiles);
  ASSERT_EQ(profiles, (std::vector<std::string>{"tester"}));
  ASSERT_TRUE(users.OpenKey("\\tester\\Software\\MOVRA\\ALIASES\\INTERBASE", false));
  EXPECT_EQ(users.ReadString("MINE"), "/db/mine.fdb");
}

}  // namespace
}  // namespace iex
