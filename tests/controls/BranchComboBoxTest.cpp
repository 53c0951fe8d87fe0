#include <gtest/gtest.h>

#include "controls/BranchComboBox.h"
#include "platform/Error.h"

namespace iex {
namespace {

class BranchComboBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    buffer_.SetLines({{"Main Office", 2}, {"Airport", 7}});
    box_.SetBranchBuffer(&buffer_);
  }
  TOpStrings buffer_;
  TIBBranchComboBox box_;
};

TEST_F(BranchComboBoxTest, LinesFromTheBuffer) {
  ASSERT_EQ(box_.Items.size(), 3u);
  EXPECT_EQ(box_.Items[0].text, "");
  EXPECT_EQ(box_.Items[0].tag, -1);
  EXPECT_EQ(box_.Items[1].text, "[2] Main Office");
  EXPECT_EQ(box_.Items[2].text, "[7] Airport");
  box_.Change(0);
  EXPECT_EQ(box_.CurrentBranchNo(), -1);
  EXPECT_EQ(box_.Text(), "");
  box_.Change(2);
  EXPECT_EQ(box_.CurrentBranchNo(), 7);
  EXPECT_EQ(box_.Hint, "[7] Airport");
}

TEST_F(BranchComboBoxTest, WritingTheBranchNumber) {
  box_.SetCurrentBranchNo(-1);
  EXPECT_EQ(box_.ItemIndex, 0);
  box_.SetCurrentBranchNo(2);
  EXPECT_EQ(box_.Text(), "[2] Main Office");
  try {
    box_.SetCurrentBranchNo(99);
    FAIL();
  } catch (const EMvError& e) {
    EXPECT_STREQ(e.what(), "Could not set value to Branch number 99. Access denied.");
  }
  EXPECT_EQ(box_.ItemIndex, -1);
  EXPECT_EQ(box_.CurrentBranchNo(), -1);
  box_.SetFirstLineAllItem(false);
  box_.LoadBranchBuffer();
  box_.SetCurrentBranchNo(-1);
  EXPECT_EQ(box_.ItemIndex, -1);
}

TEST_F(BranchComboBoxTest, DropDownRefillsAndKeepsTheChoice) {
  box_.SetCurrentBranchNo(7);
  int handlerCalls = 0;
  box_.OnDropDown = [&] {
    ++handlerCalls;
    buffer_.SetLines({{"Airport", 7}, {"New", 9}});
  };
  box_.DropDown();
  EXPECT_EQ(handlerCalls, 1);
  EXPECT_EQ(box_.CurrentBranchNo(), 7);
  EXPECT_EQ(box_.Items.size(), 3u);
}

TEST_F(BranchComboBoxTest, FirstLineSwitchAndWidths) {
  TIBBranchComboBox empty;
  empty.SetFirstLineAllItem(false);
  empty.SetFirstLineAllItem(true);
  ASSERT_EQ(empty.Items.size(), 1u);
  EXPECT_EQ(empty.Items[0].text, " ");
  box_.SetFirstLineAllItem(false);  // removes the all line at once
  EXPECT_EQ(box_.Items.size(), 2u);
  box_.SetFirstLineAllItem(true);  // adds nothing until the next reload
  EXPECT_EQ(box_.Items.size(), 2u);

  box_.Width = 100;
  box_.SetMaxDropDownWidth(50);
  EXPECT_EQ(box_.MaxDropDownWidth(), 0);
  box_.TextWidth = [](const std::string& t) { return t == "[7] Airport" ? 150 : 10; };
  box_.AdjustDropDownWidth();
  EXPECT_EQ(box_.DropDownWidth, 158);
  box_.DropDownCount = 1;
  box_.AdjustDropDownWidth();
  EXPECT_EQ(box_.DropDownWidth, 158 + box_.ScrollBarWidth);
  box_.SetMaxDropDownWidth(120);
  box_.AdjustDropDownWidth();
  EXPECT_EQ(box_.DropDownWidth, 120);
}

}  // namespace
}  // namespace iex
