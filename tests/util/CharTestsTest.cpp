#include <gtest/gtest.h>

#include "util/CharTests.h"

namespace iex {
namespace {

TEST(CharTests, IsAllLettersAndCountChar) {
  EXPECT_FALSE(IsAllLetters(""));
  EXPECT_TRUE(IsAllLetters("vi"));
  EXPECT_TRUE(IsAllLetters("VI"));
  EXPECT_TRUE(IsAllLetters("Vi"));
  EXPECT_FALSE(IsAllLetters("V1"));
  EXPECT_FALSE(IsAllLetters("V I"));
  EXPECT_FALSE(IsAllLetters("\xC9T"));
  EXPECT_EQ(CountChar(':', "a:b:c"), 2);
  EXPECT_EQ(CountChar(':', ""), 0);
}

}  // namespace
}  // namespace iex
