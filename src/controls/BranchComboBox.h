#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/OpStrings.h"

namespace iex {

// A combo box that widens its drop-down list to its longest line and keeps
// its hint in step with the choice. Widths come from the widget.
class TMvComboBox {
 public:
  virtual ~TMvComboBox() = default;
  struct Line {
    std::string text;
    int32_t tag;
  };

  std::vector<Line> Items;
  int ItemIndex = -1;
  bool ShowHint = true;
  std::string Hint;
  bool AutoAdjustDropDownWidth = true;
  int MaxDropDownWidth() const { return FMaxDropDownWidth; }
  void SetMaxDropDownWidth(int value) { FMaxDropDownWidth = value < Width ? 0 : value; }

  int Width = 100;
  int DropDownCount = 8;
  int DropDownWidth = 0;
  std::function<int(const std::string&)> TextWidth = [](const std::string& t) { return static_cast<int>(t.size()) * 7; };
  int ScrollBarWidth = 16;
  std::function<void()> OnDropDown;  // the owner's handler

  std::string Text() const { return ItemIndex >= 0 && ItemIndex < static_cast<int>(Items.size()) ? Items[ItemIndex].text : ""; }
  virtual void Clear();
  void Change(int index);  // the user chose a line
  virtual void DropDown();  // the list is about to open
  void AdjustDropDownWidth();
  void UpdateHint();

 private:
  int FMaxDropDownWidth = 0;
};

// The branch filter: an all-branches line and one line per branch,
// "[number] name", built from a branch buffer the owner keeps.
class TIBBranchComboBox : public TMvComboBox {
 public:
  bool FirstLineAllItem() const { return FFirstLineAllItem; }
  void SetFirstLineAllItem(bool value);
  void SetBranchBuffer(const TOpStrings* buffer);
  void LoadBranchBuffer();
  int32_t CurrentBranchNo() const;
  void SetCurrentBranchNo(int32_t value);  // "Could not set value to Branch number N. Access denied."
  int32_t BranchNos(int index) const { return Items.at(static_cast<std::size_t>(index)).tag; }
  void SetBranchNos(int index, int32_t tag) { Items.at(static_cast<std::size_t>(index)).tag = tag; }
  void DropDown() override;
  void ReloadBranches();
  bool DesignTime = false;

 private:
  bool FFirstLineAllItem = true;
  const TOpStrings* FBranchBuffer = nullptr;
};

}  // namespace iex
