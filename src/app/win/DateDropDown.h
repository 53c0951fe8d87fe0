#pragma once
#include <windows.h>

#include "app/win/BoundEdit.h"
#include "controls/DateEdit.h"

namespace iex::win {

// The date field's drop-down: a month calendar in a pop-up below the field.
// Enter or a click picks the day, Escape or a click elsewhere closes it; the
// arrows and page keys move as the field's logic says.
class TDateDropDown {
 public:
  TDateDropDown(HWND edit, TMvDateEdit& logic, TErrorDisplay showError);
  ~TDateDropDown();
  TDateDropDown(const TDateDropDown&) = delete;
  TDateDropDown& operator=(const TDateDropDown&) = delete;

  void Open();
  bool IsOpen() const { return popup_ != nullptr; }
  HWND Calendar() const { return calendar_; }
  void Pick();
  void Close();

 private:
  static LRESULT CALLBACK PopupProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK CalendarProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  bool Key(WPARAM key);

  HWND edit_;
  TMvDateEdit& logic_;
  TErrorDisplay showError_;
  HWND popup_ = nullptr;
  HWND calendar_ = nullptr;
};

}  // namespace iex::win
