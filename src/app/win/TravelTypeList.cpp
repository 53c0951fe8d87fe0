#include "app/win/TravelTypeList.h"

#include "app/TravelTypeGrid.h"
#include "app/win/WindowText.h"

namespace iex::win {
namespace {

void SetItemText(HWND list, int row, int column, const std::string& ansi) {
  std::wstring text = WideOfAnsi(ansi);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text.data();
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

TTravelTypeList::TTravelTypeList(HWND list, TStringGrid& grid) : list_(list), grid_(grid) {
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
  RECT client{};
  GetClientRect(list_, &client);
  const int letterWidth = MulDiv(client.right, 28, 100);
  const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
  wchar_t typeTitle[] = L"MOVRA Travel Type", letterTitle[] = L"Revenue Type";
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = typeTitle;
  column.cx = client.right - letterWidth - scrollBar;
  SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  column.pszText = letterTitle;
  column.cx = letterWidth;
  SendMessageW(list_, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
  edit_ = CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 10, 10, list_, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  SendMessageW(edit_, WM_SETFONT, SendMessageW(list_, WM_GETFONT, 0, 0), FALSE);
  SendMessageW(edit_, EM_LIMITTEXT, 1, 0);
  SetWindowSubclass(list_, ListProc, 0, reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(edit_, EditProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

TTravelTypeList::~TTravelTypeList() {
  RemoveWindowSubclass(list_, ListProc, 0);
  RemoveWindowSubclass(edit_, EditProc, 0);
}

void TTravelTypeList::Fill() {
  EndEdit(false);
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  for (int row = 0; row < kTravelTypeRows; ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    std::wstring name = WideOfAnsi(grid_.Cell(0, row + 1));
    item.pszText = name.data();
    SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SetItemText(list_, row, 1, grid_.Cell(1, row + 1));
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  SetCurrentRow(0);
}

bool TTravelTypeList::Editable(int row) const { return row >= 0 && row < kTravelTypeRows && !grid_.Cell(0, row + 1).empty(); }

int TTravelTypeList::CurrentRow() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void TTravelTypeList::SetCurrentRow(int row) {
  if (row < 0 || row >= kTravelTypeRows) return;
  LVITEMW state{};
  state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  state.state = LVIS_FOCUSED | LVIS_SELECTED;
  SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
  SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void TTravelTypeList::BeginEdit(int row, wchar_t typed) {
  if (!Editable(row)) return;
  EndEdit(true);
  SetCurrentRow(row);
  RECT cell{};
  cell.top = 1;  // the letter's column
  cell.left = LVIR_BOUNDS;
  SendMessageW(list_, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  editRow_ = row;
  const std::wstring start = typed ? std::wstring(1, typed) : WideOfAnsi(grid_.Cell(1, row + 1));
  SetWindowTextW(edit_, start.c_str());
  SetWindowPos(edit_, HWND_TOP, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, SWP_SHOWWINDOW);
  SetFocus(edit_);
  SendMessageW(edit_, EM_SETSEL, typed ? 1 : 0, -1);
}

void TTravelTypeList::CommitEdit() { EndEdit(true); }

void TTravelTypeList::EndEdit(bool keep) {
  if (editRow_ < 0) return;
  const int row = editRow_;
  editRow_ = -1;
  if (keep) {
    const std::string letter = WindowTextOf(edit_);
    grid_.SetCell(1, row + 1, letter);
    SetItemText(list_, row, 1, letter);
  }
  const bool hadFocus = GetFocus() == edit_;
  ShowWindow(edit_, SW_HIDE);
  if (hadFocus) SetFocus(list_);
}

void TTravelTypeList::OnNotify(const NMHDR& n) {
  if (n.code == NM_DBLCLK) BeginEdit(reinterpret_cast<const NMITEMACTIVATE&>(n).iItem);
}

LRESULT CALLBACK TTravelTypeList::ListProc(HWND, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  return reinterpret_cast<TTravelTypeList*>(self)->OnListMessage(msg, wp, lp);
}

LRESULT CALLBACK TTravelTypeList::EditProc(HWND, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  return reinterpret_cast<TTravelTypeList*>(self)->OnEditMessage(msg, wp, lp);
}

LRESULT TTravelTypeList::OnListMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE: {
      // Enter moves a row; Tab is the dialog's, so it leaves the grid.
      const auto* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) return DLGC_WANTALLKEYS;
      return DefSubclassProc(list_, msg, wp, lp);
    }
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        SetCurrentRow(CurrentRow() + 1);  // never the export
        return 0;
      }
      if (wp == VK_F2) {
        BeginEdit(CurrentRow());
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp >= 0x20) {
        BeginEdit(CurrentRow(), static_cast<wchar_t>(wp));
        return 0;
      }
      if (wp == L'\r') return 0;
      break;
    case WM_SETFOCUS:
      // The keyboard lands on a row, the first when none is current.
      if (CurrentRow() < 0) SetCurrentRow(0);
      break;
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
      EndEdit(true);  // the edit would float off its row
      break;
    default:
      break;
  }
  return DefSubclassProc(list_, msg, wp, lp);
}

LRESULT TTravelTypeList::OnEditMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE: {
      // Enter, Escape and Tab end the edit here; mnemonics stay the dialog's.
      const auto* m = reinterpret_cast<const MSG*>(lp);
      if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) &&
          (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE || m->wParam == VK_TAB))
        return DLGC_WANTALLKEYS | DefSubclassProc(edit_, msg, wp, lp);
      return DefSubclassProc(edit_, msg, wp, lp);
    }
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        const int row = editRow_;
        EndEdit(true);
        SetCurrentRow(row + 1);
        return 0;
      }
      if (wp == VK_ESCAPE) {
        EndEdit(false);
        return 0;
      }
      if (wp == VK_TAB) {
        EndEdit(true);
        SendMessageW(GetAncestor(list_, GA_ROOT), WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, FALSE);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == L'\r' || wp == L'\x1b' || wp == L'\t') return 0;
      break;
    case WM_KILLFOCUS:
      if (editRow_ >= 0) EndEdit(true);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit_, msg, wp, lp);
}

}  // namespace iex::win
