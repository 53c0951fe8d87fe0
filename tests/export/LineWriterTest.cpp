#include <gtest/gtest.h>

#include "platform/AnsiText.h"
#include "FaultFileSystem.h"
#include "TempPaths.h"
#include "export/LineWriter.h"
#include "platform/Error.h"

namespace iex {
namespace {

TEST(LineWriter, FieldsEndInTabsAndLinesInCrLf) {
  test::TempDir dir;
  const std::string path = dir.File("x.DAT");
  TLineWriter w(DefaultFileSystem().CreateExclusive(path, 0600), "x.DAT");
  w.Field("01").Field("a\tb\r\nc").Empty(2).Field("caf\xE9");
  w.EndLine();
  w.Close();
  EXPECT_EQ(test::ReadFile(path), "01\ta b  c\t\t\tcaf\xE9\t\r\n");
  EXPECT_EQ(w.Lines(), 1);
}

TEST(LineWriter, AFailedWriteNamesTheFileAndSaysWhyOnTheNextLine) {
  test::TempDir dir;
  test::FaultFileSystem fs;
  fs.target = "x.DAT";
  fs.failAtByte = 100000;  // past the first buffered block
  TLineWriter w(fs.CreateExclusive(dir.File("x.DAT"), 0600), "/out/X.DAT");
  try {
    for (int i = 0; i < 20000; ++i) {
      w.Field("line").Field(std::to_string(i));
      w.EndLine();
    }
    w.Close();
    FAIL() << "the full disk went unnoticed";
  } catch (const EMvError& e) {
    EXPECT_EQ(e.what(), "Can not write to file " + NativeSeparators("/out/X.DAT") + ".\nThe disk is full.");
  }
}

}  // namespace
}  // namespace iex
