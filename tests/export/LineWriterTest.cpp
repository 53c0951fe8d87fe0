#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "AgencyDb.h"
#include "TempPaths.h"
#include "export/LineWriter.h"
#include "platform/Error.h"

namespace iex {
namespace {


TEST(LineWriter, FieldsEndInTabsAndLinesInCrLf) {
  test::TempDir dir;
  const std::string path = dir.File("x.DAT");
  {
    TLineWriter w(path);
    w.Field("01").Field("a\tb\r\nc").Empty(2).Field("caf\xE9");
    w.EndLine();
    EXPECT_EQ(test::ReadFile(path), "01\ta b  c\t\t\tcaf\xE9\t\r\n");  // on disk line by line
    w.Close();
  }
  TLineWriter again(path);  // rewritten, never appended
  again.Close();
  EXPECT_EQ(test::ReadFile(path), "");
}

TEST(LineWriter, FailuresRaiseTheFileSystemText) {
  test::TempDir dir;
  EXPECT_THROW(TLineWriter(dir.File("missing/x.DAT")), EMvError);
  TLineWriter full("/dev/full");
  full.Field("x");
  try {
    full.EndLine();
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_NE(std::string(e.what()).find("No space left"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace iex
