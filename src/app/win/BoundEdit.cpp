#include "app/win/BoundEdit.h"

#include <commctrl.h>

#include "app/win/WindowText.h"

namespace iex::win {
namespace {
// Posted to a field whose check failed: the focus goes back once the
// message that moved it has been handled.
constexpr UINT kRefocus = WM_APP + 40;
}  // namespace

TBoundEdit::TBoundEdit(HWND edit, TBaseEdit& logic, TErrorDisplay showError)
    : edit_(edit), logic_(logic), showError_(std::move(showError)) {
  logic_.Box.OnTextSet = [this](const std::string& text) {
    if (WindowTextOf(edit_) == text) return;
    setting_ = true;
    SetWindowTextOf(edit_, text);
    setting_ = false;
  };
  SetWindowSubclass(edit_, Proc, 0, reinterpret_cast<DWORD_PTR>(this));
}

TBoundEdit::~TBoundEdit() {
  RemoveWindowSubclass(edit_, Proc, 0);
  logic_.Box.OnTextSet = nullptr;
}

void TBoundEdit::TextChanged() {
  if (!setting_) logic_.Box.UserTyped(WindowTextOf(edit_));
}

bool TBoundEdit::Check() {
  if (checking_) return true;
  checking_ = true;
  const bool ok = logic_.ExitWith(WindowTextOf(edit_), showError_);
  checking_ = false;
  return ok;
}

LRESULT CALLBACK TBoundEdit::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto* edit = reinterpret_cast<TBoundEdit*>(self);
  if (!edit) return DefSubclassProc(w, msg, wp, lp);
  return edit->Handle(msg, wp, lp);
}

LRESULT TBoundEdit::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE:
      // Enter is the field's own: it checks first, then presses the default button.
      if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN && reinterpret_cast<const MSG*>(lp)->wParam == VK_RETURN)
        return DLGC_WANTALLKEYS | DefSubclassProc(edit_, msg, wp, lp);
      break;
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        if (Check() && OnEnter) OnEnter();
        return 0;
      }
      if (wp == VK_F4 && OnDropDownKey) {
        OnDropDownKey();
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wp == VK_DOWN && OnDropDownKey) {
        OnDropDownKey();
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == L'\r' || wp == L'\n') return 0;
      if (wp >= 0x20 && !(GetKeyState(VK_CONTROL) & 0x8000) && !Accept(static_cast<wchar_t>(wp))) {
        MessageBeep(MB_OK);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      logic_.Enter();
      break;
    case WM_KILLFOCUS: {
      // Only a move within the window checks: not a message box, the
      // calendar's pop-up or another program taking the focus.
      HWND to = reinterpret_cast<HWND>(wp);
      const LRESULT r = DefSubclassProc(edit_, msg, wp, lp);
      if (to && GetAncestor(to, GA_ROOT) == GetAncestor(edit_, GA_ROOT) && !Check())
        PostMessageW(edit_, kRefocus, 0, 0);
      return r;
    }
    case kRefocus:
      SendMessageW(GetAncestor(edit_, GA_ROOT), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit_), TRUE);
      return 0;
    default:
      break;
  }
  return DefSubclassProc(edit_, msg, wp, lp);
}

}  // namespace iex::win
