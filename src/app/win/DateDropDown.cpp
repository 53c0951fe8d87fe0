#include "app/win/DateDropDown.h"

#include <commctrl.h>

#include "app/win/WindowText.h"
#include "util/DateValue.h"

namespace iex::win {
namespace {

constexpr const wchar_t* kPopupClass = L"InvoiceExport.CalendarPopup";

SYSTEMTIME SystemTimeOf(double date) {
  const CivilDate d = DecodeDate(date);
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(d.year);
  t.wMonth = static_cast<WORD>(d.month);
  t.wDay = static_cast<WORD>(d.day);
  return t;
}

double DateOf(const SYSTEMTIME& t) { return EncodeDate(t.wYear, t.wMonth, t.wDay); }

void RegisterPopupClass() {
  static const bool registered = [] {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = DefWindowProcW;  // replaced per window below
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    c.lpszClassName = kPopupClass;
    c.style = CS_DROPSHADOW;
    return RegisterClassExW(&c) != 0;
  }();
  (void)registered;
}

}  // namespace

TDateDropDown::TDateDropDown(HWND edit, TMvDateEdit& logic, TErrorDisplay showError)
    : edit_(edit), logic_(logic), showError_(std::move(showError)) {}

TDateDropDown::~TDateDropDown() {
  if (popup_) DestroyWindow(popup_);
}

void TDateDropDown::Open() {
  if (popup_ || !logic_.MayOpenCalendar()) return;
  double start = 0;
  try {
    logic_.Box.UserTyped(WindowTextOf(edit_));
    start = logic_.CalendarStartDate();
  } catch (const std::exception& e) {
    showError_(e.what());
    return;
  }
  RegisterPopupClass();
  HWND root = GetAncestor(edit_, GA_ROOT);
  popup_ = CreateWindowExW(WS_EX_TOOLWINDOW, kPopupClass, L"", WS_POPUP | WS_BORDER, 0, 0, 10, 10, root, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (!popup_) return;
  SetWindowLongPtrW(popup_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(popup_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PopupProc));
  calendar_ = CreateWindowExW(0, MONTHCAL_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, popup_, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  SendMessageW(calendar_, WM_SETFONT, SendMessageW(edit_, WM_GETFONT, 0, 0), TRUE);
  RECT need{};
  SendMessageW(calendar_, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
  const int width = need.right - need.left, height = need.bottom - need.top;
  SetWindowPos(calendar_, nullptr, 0, 0, width, height, SWP_NOZORDER);
  SYSTEMTIME day = SystemTimeOf(start);
  SendMessageW(calendar_, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  SetWindowSubclass(calendar_, CalendarProc, 0, reinterpret_cast<DWORD_PTR>(this));
  // Below the field; above it, or further left, where the screen ends.
  RECT field{};
  GetWindowRect(edit_, &field);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(edit_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  int x = field.left, y = field.bottom;
  if (x + w > work.right) x = work.right - w;
  if (y + h > work.bottom) y = field.top - h;
  SetWindowPos(popup_, HWND_TOP, x, y, w, h, SWP_SHOWWINDOW);
  SetFocus(calendar_);
}

void TDateDropDown::Pick() {
  if (!calendar_) return;
  SYSTEMTIME day{};
  SendMessageW(calendar_, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  logic_.Pick(DateOf(day));
  Close();
}

void TDateDropDown::Close() {
  if (!popup_) return;
  HWND popup = popup_;
  popup_ = calendar_ = nullptr;
  logic_.CalendarClosed();
  DestroyWindow(popup);
  SetFocus(edit_);
}

bool TDateDropDown::Key(WPARAM key) {
  if (key == VK_RETURN) {
    Pick();
    return true;
  }
  if (key == VK_ESCAPE) {
    Close();
    return true;
  }
  TCalendarKey k = TCalendarKey::Other;
  switch (key) {
    case VK_LEFT: k = TCalendarKey::Left; break;
    case VK_RIGHT: k = TCalendarKey::Right; break;
    case VK_UP: k = TCalendarKey::Up; break;
    case VK_DOWN: k = TCalendarKey::Down; break;
    case VK_PRIOR: k = TCalendarKey::PageUp; break;
    case VK_NEXT: k = TCalendarKey::PageDown; break;
    default: return false;
  }
  SYSTEMTIME day{};
  SendMessageW(calendar_, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  const bool ctrl = GetKeyState(VK_CONTROL) & 0x8000, shift = GetKeyState(VK_SHIFT) & 0x8000,
             alt = GetKeyState(VK_MENU) & 0x8000;
  SYSTEMTIME moved = SystemTimeOf(TMvDateEdit::CalendarMove(DateOf(day), k, ctrl, shift, alt));
  SendMessageW(calendar_, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&moved));
  return true;
}

LRESULT CALLBACK TDateDropDown::PopupProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TDateDropDown*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (self && self->popup_ == w) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == MCN_SELECT) {
      self->Pick();  // a click on a day
      return 0;
    }
    if (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE) {
      // A click elsewhere: closed after this message, not inside it.
      PostMessageW(w, WM_CLOSE, 0, 0);
      return 0;
    }
    if (msg == WM_CLOSE) {
      self->Close();
      return 0;
    }
  }
  return DefWindowProcW(w, msg, wp, lp);
}

LRESULT CALLBACK TDateDropDown::CalendarProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto* drop = reinterpret_cast<TDateDropDown*>(self);
  if (msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
  if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && drop->Key(wp)) return 0;
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, CalendarProc, 0);
  return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace iex::win
