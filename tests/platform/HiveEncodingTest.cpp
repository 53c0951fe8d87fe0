// A hive is written back in the encoding it was read in, byte for byte.
#include <gtest/gtest.h>

#include "TempPaths.h"
#include "platform/Registry.h"

namespace iex {
namespace {

std::string Utf16(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) out += std::string{c, '\0'};
  return out;
}

TEST(HiveEncoding, AnsiAndUtf16HivesRoundTripAndKeepTheirCharacters) {
  // Every key listed, as Windows exports them.
  const std::string keys =
      "\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n[HKEY_CURRENT_USER\\Software\\MOVRA]\r\n"
      "\r\n[HKEY_CURRENT_USER\\Software\\MOVRA\\ALIASES]\r\n\r\n[HKEY_CURRENT_USER\\Software\\MOVRA\\ALIASES\\INTERBASE]\r\n";
  const std::string body1252 = keys + "\"M\xDCNCHEN\"=\"/data/m\xFCnchen.fdb\"\r\n";
  const std::string bodyAscii = keys + "\"MAIN\"=\"/main.fdb\"\r\n";
  struct Case {
    const char* what;
    std::string file;
  } cases[] = {
      {"REGEDIT4 in Windows-1252", "REGEDIT4\r\n" + body1252},
      {"version 5 written by an 8-bit editor", "Windows Registry Editor Version 5.00\r\n" + body1252},
      {"UTF-16 as Windows exports", Utf16("Windows Registry Editor Version 5.00\r\n" + bodyAscii)},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    const TPlatformPaths paths = test::HivePaths(dir);
    test::WriteFile(paths.userHive, c.file);
    TRegistry reg(paths);
    ASSERT_TRUE(reg.OpenKey("\\Software\\MOVRA\\ALIASES\\INTERBASE", false)) << c.what;
    std::vector<std::string> names;
    reg.GetValueNames(names);
    ASSERT_EQ(names.size(), 1u) << c.what;
    const std::string name = names[0], value = reg.ReadString(name);
    reg.WriteString(name, value);  // a rewrite with nothing changed
    EXPECT_EQ(test::ReadFile(paths.userHive), c.file) << c.what;
    reg.WriteString("New", "caf\xE9");
    reg.DeleteValue("New");
    EXPECT_EQ(test::ReadFile(paths.userHive), c.file) << c.what << ": after a change undone";
  }
}

}  // namespace
}  // namespace iex
