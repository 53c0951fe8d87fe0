#include <gtest/gtest.h>

#include <vector>

#include "util/ParseStr.h"

namespace iex {
namespace {

std::vector<std::string> Fields(const std::string& text, const std::string& sep, const std::string& quote = "") {
  ParseStr p;
  p.Parse(text, sep, quote);
  std::vector<std::string> out;
  for (const std::string& f : p) out.push_back(f);
  return out;
}

using V = std::vector<std::string>;

TEST(ParseStr, SplitsAtTheSeparator) {
  EXPECT_EQ(Fields("a,b,,c", ","), (V{"a", "b", "", "c"}));
  EXPECT_EQ(Fields("a,b,", ","), (V{"a", "b", ""}));
  EXPECT_EQ(Fields("", ","), (V{""}));
  EXPECT_EQ(Fields(",", ","), (V{"", ""}));
  EXPECT_EQ(Fields("abc", ","), (V{"abc"}));
}

TEST(ParseStr, QuotedFieldsKeepSeparatorsAndDropTrailingCharacters) {
  EXPECT_EQ(Fields("'x,y',z", ",", "'"), (V{"x,y", "z"}));
  EXPECT_EQ(Fields("'x'junk,z", ",", "'"), (V{"x", "z"}));
  EXPECT_EQ(Fields("'open,z", ",", "'"), (V{"open,z"}));
  EXPECT_EQ(Fields("a,''", ",", "'"), (V{"a", ""}));
}

TEST(ParseStr, FieldNumbersOutsideTheRecordReadEmpty) {
  ParseStr p;
  p.Parse("a,b", ",");
  EXPECT_EQ(p.GetField(0), "");
  EXPECT_EQ(p.GetField(3), "");
  EXPECT_EQ(p.GetField(1025), "");
}

TEST(ParseStr, StopsRecordingAt1024Fields) {
  std::string text;
  for (int i = 1; i <= 1100; ++i) text += std::to_string(i) + ",";
  ParseStr p;
  p.Parse(text, ",");
  EXPECT_EQ(p.fNumOfFlds, 1024);
  EXPECT_EQ(p.GetField(1024), "1024");
}

TEST(ParseStr, CopiesShareNothing) {
  ParseStr p;
  p.Parse("a,b", ",");
  TParseStrEnumerator e(p);
  p.Parse("x", ",");
  std::vector<std::string> seen;
  while (e.MoveNext()) seen.push_back(e.GetCurrent());
  EXPECT_EQ(seen, (V{"a", "b"}));
  EXPECT_FALSE(e.MoveNext());
}

}  // namespace
}  // namespace iex
