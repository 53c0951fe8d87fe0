#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "controls/NumEdit.h"

namespace iex::win {

// Shows an error's text; the window's general error display.
using TErrorDisplay = std::function<void(const std::string&)>;

// An edit control bound to a field's logic: typing feeds the logic, leaving
// runs its check (a failed check keeps the focus), Enter checks and presses
// the window's default button, Alt+Down or F4 opens the field's drop-down.
class TBoundEdit {
 public:
  TBoundEdit(HWND edit, TBaseEdit& logic, TErrorDisplay showError);
  ~TBoundEdit();
  TBoundEdit(const TBoundEdit&) = delete;
  TBoundEdit& operator=(const TBoundEdit&) = delete;

  HWND Handle() const { return edit_; }
  std::function<void()> OnEnter;
  std::function<void()> OnDropDownKey;
  std::function<bool(wchar_t)> Accept = [](wchar_t) { return true; };
  // The control's text changed (EN_CHANGE): the logic learns what was typed.
  void TextChanged();
  bool Check();

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  HWND edit_;
  TBaseEdit& logic_;
  TErrorDisplay showError_;
  bool checking_ = false;
  bool setting_ = false;  // the logic writes the text: no echo back
};

}  // namespace iex::win
