#include <gtest/gtest.h>

#include <filesystem>

#include "TempPaths.h"
#include "platform/Error.h"
#include "platform/IniFile.h"

namespace iex {
namespace {

TEST(IniFile, ReadsAndWritesAsTheAliasStoresNeed) {
  test::TempDir dir;
  const std::string path = dir.File("sub/MOVRAALIAS.INI");
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("ALIASES", "MAIN", "none"), "none");
  ini.WriteString("ALIASES", "MAIN", "c:\\db\\main.gdb");  // creates folder, file and section
  ini.WriteString("MAIN", "Port", "3050");
  ini.WriteString("aliases", "Second", "/db/2.fdb");  // sections compare without case
  ini.WriteString("ALIASES", "main", "c:\\db\\other.gdb");  // keys too: the line is replaced
  // This program's writer puts the key as last written; Windows' routines
  // keep the spelling the file had.
#ifdef _WIN32
  const std::string main = "MAIN";
#else
  const std::string main = "main";
#endif
  EXPECT_EQ(test::ReadFile(path), "[ALIASES]\r\n" + main + "=c:\\db\\other.gdb\r\nSecond=/db/2.fdb\r\n" + test::kIniSectionGap +
                                      "[MAIN]\r\nPort=3050\r\n");
  std::vector<std::string> keys;
  ini.ReadSection("Aliases", keys);
  EXPECT_EQ(keys, (std::vector<std::string>{main, "Second"}));
  ini.DeleteKey("ALIASES", "SECOND");
  ini.DeleteKey("ALIASES", "absent");
  ini.EraseSection("main");
  EXPECT_EQ(test::ReadFile(path), "[ALIASES]\r\n" + main + "=c:\\db\\other.gdb\r\n" + test::kIniSectionGap);
  EXPECT_FALSE(ini.SectionExists("MAIN"));
}

TEST(IniFile, HandEditedFilesAreReadLeniently) {
  test::TempDir dir;
  const std::string path = dir.File("x.ini");
  test::WriteFile(path, "; comment\n[ A ]\n  key = \"quoted value\" \nbare line\n[B]\nk=v\n");
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("A", "KEY", ""), "quoted value");
  EXPECT_EQ(ini.ReadString("B", "k", ""), "v");
  ini.WriteString("A", "new", "1");
  // Hand-made lines stay as they were; Windows' routines may lay them out anew.
#ifndef _WIN32
  EXPECT_EQ(test::ReadFile(path), "; comment\r\n[ A ]\r\n  key = \"quoted value\" \r\nbare line\r\nnew=1\r\n[B]\r\nk=v\r\n");
#endif
  EXPECT_EQ(ini.ReadString("A", "new", ""), "1");
  EXPECT_EQ(ini.ReadString("A", "key", ""), "quoted value");
}

TEST(IniFile, AFolderNamedOutsideAsciiIsFoundAndWritten) {
  test::TempDir dir;
  const std::string path = dir.File("Donn\xC3\xA9" "es/\xC3\x9C" "bersicht/MOVRAALIAS.INI");  // UTF-8, as paths travel
  TIniFile ini(path);
  ini.WriteString("ALIASES", "MAIN", "C:\\Donn\xE9" "es\\main.fdb");  // values are Windows-1252
  EXPECT_TRUE(std::filesystem::exists(PathOfText(path)));
  EXPECT_EQ(TIniFile(path).ReadString("ALIASES", "MAIN", ""), "C:\\Donn\xE9" "es\\main.fdb");
  EXPECT_TRUE(ini.CreateWhole("ignored") == false) << "the file is there";
}

TEST(IniFile, RefusedWritesSayWhichFile) {
  const std::string path = "/proc/iex-cannot-write/MOVRAALIAS.INI";
  TIniFile ini(path);
  try {
    ini.WriteString("ALIASES", "X", "y");
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
  }
  EXPECT_THROW(ini.EraseSection("X"), EMvError);
  ini.DeleteKey("ALIASES", "X");  // reports nothing
  EXPECT_EQ(ini.ReadString("ALIASES", "X", "d"), "d");
}

}  // namespace
}  // namespace iex
