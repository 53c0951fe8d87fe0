#include "controls/BranchComboBox.h"

#include "platform/Error.h"

namespace iex {

void TMvComboBox::Clear() {
  Items.clear();
  ItemIndex = -1;
  UpdateHint();
}

void TMvComboBox::Change(int index) {
  ItemIndex = index;
  UpdateHint();
}

void TMvComboBox::DropDown() {
  if (OnDropDown) OnDropDown();
  if (AutoAdjustDropDownWidth) AdjustDropDownWidth();
}

void TMvComboBox::AdjustDropDownWidth() {
  int w = Width;
  for (const Line& line : Items) {
    int c = TextWidth(line.text) + 8;
    if (static_cast<int>(Items.size()) > DropDownCount) c += ScrollBarWidth;
    if (c > w) w = c;
  }
  DropDownWidth = (FMaxDropDownWidth > 0 && FMaxDropDownWidth < w) ? FMaxDropDownWidth : w;
}

void TMvComboBox::UpdateHint() {
  if (ItemIndex >= 0 && ShowHint)
    Hint = Text();
  else if (ItemIndex < 0 && ShowHint)
    Hint = Text();
  else
    Hint.clear();
}

void TIBBranchComboBox::SetFirstLineAllItem(bool value) {
  if (value == FFirstLineAllItem) return;
  FFirstLineAllItem = value;
  if (DesignTime) return;
  if (value && Items.empty())
    Items.push_back({" ", -1});
  else if (!value && !Items.empty() && Items[0].tag == -1)
    Items.erase(Items.begin());
}

void TIBBranchComboBox::SetBranchBuffer(const TOpStrings* buffer) {
  FBranchBuffer = buffer;
  LoadBranchBuffer();
}

void TIBBranchComboBox::LoadBranchBuffer() {
  Items.clear();
  ItemIndex = -1;
  if (FFirstLineAllItem) Items.push_back({"", -1});
  if (!FBranchBuffer) return;
  for (const auto& [name, number] : FBranchBuffer->Lines()) {
    std::string text = "[";
    text += std::to_string(number);
    text += "] ";
    text += name;
    Items.push_back({text, number});
  }
}

int32_t TIBBranchComboBox::CurrentBranchNo() const {
  if (ItemIndex < 0 || ItemIndex >= static_cast<int>(Items.size())) return -1;
  if (FFirstLineAllItem && ItemIndex == 0) return -1;
  return Items[static_cast<std::size_t>(ItemIndex)].tag;
}

void TIBBranchComboBox::SetCurrentBranchNo(int32_t value) {
  ItemIndex = -1;
  LoadBranchBuffer();
  if (value != -1) {
    for (std::size_t i = FFirstLineAllItem ? 1 : 0; i < Items.size(); ++i)
      if (Items[i].tag == value) {
        ItemIndex = static_cast<int>(i);
        return;
      }
    throw EMvError("Could not set value to Branch number " + std::to_string(value) + ". Access denied.");
  }
  if (FFirstLineAllItem && !Items.empty()) ItemIndex = 0;
}

void TIBBranchComboBox::DropDown() {
  TMvComboBox::DropDown();
  ReloadBranches();
}

void TIBBranchComboBox::ReloadBranches() { SetCurrentBranchNo(CurrentBranchNo()); }

}  // namespace iex
