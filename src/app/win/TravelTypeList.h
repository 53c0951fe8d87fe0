#pragma once
#include <windows.h>
#include <commctrl.h>

#include "util/StringGrid.h"

namespace iex::win {

// The travel-type grid as a report list view: the travel type and its
// revenue-type letter. A letter or F2 on a row (or a double click) opens a
// one-letter edit over its letter; Enter ends it and moves a row down, as
// Enter on a row does; Escape drops it; Tab ends it and leaves the grid.
class TTravelTypeList {
 public:
  TTravelTypeList(HWND list, TStringGrid& grid);
  ~TTravelTypeList();
  TTravelTypeList(const TTravelTypeList&) = delete;
  TTravelTypeList& operator=(const TTravelTypeList&) = delete;

  void Fill();  // the rows from the grid
  void BeginEdit(int row, wchar_t typed = 0);
  void CommitEdit();  // an open edit gives its letter to the grid
  bool Editing() const { return editRow_ >= 0; }
  int CurrentRow() const;
  void SetCurrentRow(int row);
  HWND Handle() const { return list_; }
  HWND EditHandle() const { return edit_; }
  void OnNotify(const NMHDR& n);

 private:
  static LRESULT CALLBACK ListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK EditProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  LRESULT OnListMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnEditMessage(UINT msg, WPARAM wp, LPARAM lp);
  bool Editable(int row) const;
  void EndEdit(bool keep);

  HWND list_;
  HWND edit_ = nullptr;
  TStringGrid& grid_;
  int editRow_ = -1;
};

}  // namespace iex::win
