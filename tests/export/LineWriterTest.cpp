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

// Every control byte and DEL becomes a blank wherever it stands in a long
// value (the writer checks eight bytes at a time); bytes from 0x80 stay.
TEST(LineWriter, EachControlByteAnywhereInAValueBecomesABlank) {
  test::TempDir dir;
  const std::string path = dir.File("x.DAT");
  TLineWriter w(DefaultFileSystem().CreateExclusive(path, 0600), "x.DAT");
  std::string expected;
  for (int c = 0; c < 256; ++c) {
    for (std::size_t at : {0u, 7u, 8u, 13u, 20u}) {
      std::string value(21, 'x');
      value[5] = '\x80';
      value[at] = static_cast<char>(c);
      w.Field(value);
      if (c < 0x20 || c == 0x7F) value[at] = ' ';
      expected += value + '\t';
    }
  }
  w.EndLine();
  w.Close();
  EXPECT_EQ(test::ReadFile(path), expected + "\r\n");
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
