#include "app/win/MainWindow.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

#include "app/ProgressText.h"
#include "app/win/FolderChooser.h"
#include "app/win/MessageBox.h"
#include "app/win/Resources.h"
#include "app/win/SystemFontDialog.h"
#include "app/win/WindowText.h"
#include "util/NumberText.h"

namespace iex::win {
namespace {

// Posted or sent to the frame from the run's thread.
constexpr UINT kRunDone = WM_APP + 1;
constexpr UINT kCallOnUi = WM_APP + 2;
constexpr UINT_PTR kProgressTimer = 1;

// Alt mnemonics of the buttons; the controller reads and writes the plain texts.
std::wstring WithMnemonic(const std::string& text) {
  if (text == "Next" || text == "Export" || text == "Close" || text == "Stop") return L"&" + WideOfAnsi(text);
  return WideOfAnsi(text);
}

}  // namespace

TMainWindow::TMainWindow(const Env& env, const RegionalSettings& settings, const DateOrder& order, TSettingsStore& store,
                         const std::string& version)
    : env_(env), uiThread_(GetCurrentThreadId()) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS |
                                                                        ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES |
                                                                        ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  // The folder chooser is a COM object of the shell's.
  comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  fm_ = std::make_unique<TfmMain>(*this, env, settings, order, store, version);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  main_ = CreateDialogInSystemFont(instance, IDD_MAIN, nullptr, MainProc, reinterpret_cast<LPARAM>(this), ScreenDpi());
  if (!main_) throw EMvError("The window could not be made (Windows error " + std::to_string(GetLastError()) + ").");
  bigIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                           GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (bigIcon_) SendMessageW(main_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  if (smallIcon_) SendMessageW(main_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  BuildPages();
  BindFields();
  fm_->FormCreate();
}

TMainWindow::~TMainWindow() {
  if (worker_.joinable()) {
    // The run may be waiting for this thread (the folder chooser, the
    // settings): keep serving it until the run has ended.
    fm_->bStopClick();
    while (!workerDone_) {
      Pump();
      Sleep(20);
    }
    worker_.join();
  }
  startDrop_.reset();
  endDrop_.reset();
  startDate_.reset();
  endDate_.reset();
  startNo_.reset();
  endNo_.reset();
  grid_.reset();
  if (main_) DestroyWindow(main_);
  if (boldFont_) DeleteObject(boldFont_);
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  fm_.reset();
  if (comInitialised_) CoUninitialize();
}

HWND TMainWindow::Widget(TElement e) const {
  if (e == TElement::Caption) return main_;
  const auto it = elements_.find(e);
  return it == elements_.end() ? nullptr : it->second;
}

void TMainWindow::Dispatch(MSG& msg) {
  if (IsDialogMessageW(main_, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void TMainWindow::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the loop that asked for it sees it
      return;
    }
    Dispatch(msg);
  }
}

void TMainWindow::Start(db::TdmMain& dm) {
  fm_->AttachDataModule(dm);
  // Centred on the screen's work area that holds the mouse.
  RECT frame{};
  GetWindowRect(main_, &frame);
  POINT cursor{};
  GetCursorPos(&cursor);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  SetWindowPos(main_, nullptr, std::max(work.left, (work.left + work.right - w) / 2),
               std::max(work.top, (work.top + work.bottom - h) / 2), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(main_, SW_SHOW);
  SetForegroundWindow(main_);
  fm_->FormShow();
}

void TMainWindow::AbandonRun(int ms) {
  if (!worker_.joinable()) return;
  fm_->bStopClick();
  for (int waited = 0; !workerDone_ && waited < ms; waited += 20) {
    // The run's calls to this thread are still answered; nothing else is.
    MSG sent;
    PeekMessageW(&sent, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    Sleep(20);
  }
  // A thread still waiting for this one (which no longer serves it) is left to the process's end.
  if (workerDone_) worker_.join();
  else worker_.detach();
}

std::string TMainWindow::Text(TElement e) {
  HWND w = Widget(e);
  if (!w) return std::string();
  wchar_t cls[32] = {};
  GetClassNameW(w, cls, 32);
  if (lstrcmpiW(cls, WC_COMBOBOXW) == 0) {
    const LRESULT i = SendMessageW(w, CB_GETCURSEL, 0, 0);
    if (i < 0) return std::string();
    std::wstring item(static_cast<std::size_t>(SendMessageW(w, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, L'\0');
    SendMessageW(w, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    return AnsiOfWide(item.c_str());
  }
  std::string text = WindowTextOf(w);
  if (e == TElement::bExport || e == TElement::bExit || e == TElement::bStop) std::erase(text, '&');
  return text;
}

void TMainWindow::SetText(TElement e, const std::string& text) {
  HWND w = Widget(e);
  if (!w) return;
  if (e == TElement::bExport || e == TElement::bExit || e == TElement::bStop) {
    SetWindowTextW(w, WithMnemonic(text).c_str());
    return;
  }
  SetWindowTextOf(w, e == TElement::edUserName ? UpperAscii(text) : text);
}

int TMainWindow::ItemIndex(TElement e) {
  HWND w = Widget(e);
  return w ? static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0)) : -1;
}

void TMainWindow::SetItemIndex(TElement e, int index) {
  if (HWND w = Widget(e)) SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::vector<std::string> TMainWindow::Items(TElement e) {
  std::vector<std::string> items;
  HWND w = Widget(e);
  if (!w) return items;
  const LRESULT count = SendMessageW(w, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring item(static_cast<std::size_t>(SendMessageW(w, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, L'\0');
    SendMessageW(w, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    items.push_back(AnsiOfWide(item.c_str()));
  }
  return items;
}

void TMainWindow::SetItems(TElement e, const std::vector<std::string>& items) {
  HWND w = Widget(e);
  if (!w) return;
  SendMessageW(w, WM_SETREDRAW, FALSE, 0);
  SendMessageW(w, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideOfAnsi(item).c_str()));
  SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageW(w, WM_SETREDRAW, TRUE, 0);
}

void TMainWindow::SetHint(TElement e, const std::string& hint) {
  HWND w = Widget(e);
  if (!w || !tooltip_) return;
  std::wstring text = WideOfAnsi(hint);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(w);
  tool.uId = reinterpret_cast<UINT_PTR>(w);
  tool.lpszText = text.data();
  TOOLINFOW known = tool;
  known.lpszText = nullptr;
  const bool added = SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&known)) != 0;
  SendMessageW(tooltip_, added ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

TPage TMainWindow::CurrentPage() { return IsWindowVisible(mapping_) ? TPage::tsMapping : TPage::tsVersion; }

void TMainWindow::ShowPage(TPage page) {
  ShowWindow(page == TPage::tsMapping ? version_ : mapping_, SW_HIDE);
  ShowWindow(page == TPage::tsMapping ? mapping_ : version_, SW_SHOW);
  // The keyboard goes on where the page begins.
  if (page == TPage::tsMapping) Focus(TElement::cbMapBy);
}

void TMainWindow::ShowPanel(TPanel panel, bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  if (panel == TPanel::pTravelType) {
    ShowWindow(grid_->Handle(), show);
    return;
  }
  for (int i = 0; i < 10; ++i) {
    ShowWindow(GetDlgItem(mapping_, IDC_LETTER + i), show);
    ShowWindow(GetDlgItem(mapping_, IDC_LETTER_LABEL + i), show);
  }
}

void TMainWindow::EnableButton(TElement e, bool enabled) {
  if (HWND w = Widget(e)) EnableWindow(w, enabled);
}

void TMainWindow::Focus(TElement e) {
  if (HWND w = Widget(e)) SendMessageW(main_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(w), TRUE);
}

TMsgResult TMainWindow::ShowMessage(const TMessage& m) {
  if (MessageBoxHook) return MessageBoxHook(m);
  return win::ShowMessageBox(main_, WindowTextOf(main_), m);
}

bool TMainWindow::ChooseFolder(const std::string& startFolder, std::string& chosen) {
  if (FolderHook) return FolderHook(startFolder, chosen);
  return ChooseOutputFolder(main_, env_.FileSystemRoot() + TExportRun::kDefaultOutputDir, startFolder, chosen);
}

void TMainWindow::GridChanged() { grid_->Fill(); }

void TMainWindow::CommitEdits() { grid_->CommitEdit(); }

void TMainWindow::CloseWindow() { SendMessageW(main_, WM_CLOSE, 0, 0); }

void TMainWindow::RequestClose() {
  if (!IsWindowVisible(main_) || !fm_->FormCloseQuery()) return;
  ShowWindow(main_, SW_HIDE);
  if (OnClosed) OnClosed();
}

void TMainWindow::PressDefaultButton() {
  HWND b = Widget(TElement::bExport);
  if (IsWindowEnabled(b)) fm_->bExportClick();
}

void TMainWindow::RunInBackground(std::function<void()> work, std::function<void(std::exception_ptr)> done) {
  if (worker_.joinable()) worker_.join();
  ShowProgress();
  SetTimer(main_, kProgressTimer, 100, nullptr);
  runDone_ = std::move(done);
  runError_ = nullptr;
  workerDone_ = false;
  worker_ = std::thread([this, work = std::move(work)] {
    try {
      work();
    } catch (...) {
      runError_ = std::current_exception();
    }
    workerDone_ = true;
    PostMessageW(main_, kRunDone, 0, 0);
  });
}

void TMainWindow::CallOnUiThread(const std::function<void()>& f) {
  if (GetCurrentThreadId() == uiThread_) return f();
  // An error goes back to the caller's thread, never through the message loop.
  std::exception_ptr error;
  std::function<void()> call = [&] {
    try {
      f();
    } catch (...) {
      error = std::current_exception();
    }
  };
  SendMessageW(main_, kCallOnUi, 0, reinterpret_cast<LPARAM>(&call));
  if (error) std::rethrow_exception(error);
}

void TMainWindow::LockInputs(bool locked) {
  inputsLocked_ = locked;
  EnableWindow(Page(CurrentPage()), !locked);
  EnableWindow(Widget(TElement::bExport), !locked);
  HWND stop = Widget(TElement::bStop);
  ShowWindow(stop, locked ? SW_SHOW : SW_HIDE);
  if (locked) {
    ShowWindow(phase_, SW_SHOW);
    ShowWindow(progress_, SW_SHOW);
    // The keyboard rests on the window itself, not on Stop: a stray Enter
    // or Space ends no run (Stop is a click or Alt+S away).
    SetFocus(main_);
  } else {
    Focus(TElement::bExport);
  }
}

void TMainWindow::ShowProgress() {
  const TRunProgress p = fm_->Progress();
  const TProgressDisplay d = DescribeProgress(p.run);
  SetText(TElement::lStatus, d.statusText);
  SetText(TElement::lStatusNo, d.statusNumber);
  SetWindowTextOf(phase_, PhaseWithClock(d.phase, p.elapsedSeconds) + (d.count.empty() ? std::string() : "    " + d.count));
  // A phase of unknown length moves a marquee: the run is alive.
  const LONG_PTR style = GetWindowLongPtrW(progress_, GWL_STYLE);
  if (d.busy) {
    if (!(style & PBS_MARQUEE)) SetWindowLongPtrW(progress_, GWL_STYLE, style | PBS_MARQUEE);
    SendMessageW(progress_, PBM_SETMARQUEE, TRUE, 30);
    return;
  }
  if (style & PBS_MARQUEE) {
    SendMessageW(progress_, PBM_SETMARQUEE, FALSE, 0);
    SetWindowLongPtrW(progress_, GWL_STYLE, style & ~static_cast<LONG_PTR>(PBS_MARQUEE));
  }
  const long maximum = std::min<long>(d.maximum, 1L << 30);
  SendMessageW(progress_, PBM_SETRANGE32, 0, maximum);
  SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(std::min(d.value, maximum)), 0);
}

INT_PTR CALLBACK TMainWindow::MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) SetWindowLongPtrW(w, DWLP_USER, lp);
  auto* self = reinterpret_cast<TMainWindow*>(GetWindowLongPtrW(w, DWLP_USER));
  if (!self) return FALSE;
  if (msg == WM_INITDIALOG) self->main_ = w;
  return self->OnMainMessage(msg, wp, lp);
}

INT_PTR TMainWindow::OnMainMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return FALSE;  // the focus is set when the window shows
    case WM_SETFOCUS:
      // During a run the keyboard stays on the window: the dialog's own
      // handling would hand it to the last control, Stop.
      return inputsLocked_ ? TRUE : FALSE;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDC_EXPORT:
        case IDOK:
          PressDefaultButton();
          return TRUE;
        case IDC_EXIT:
          fm_->bExitClick();
          return TRUE;
        case IDC_STOP:
          fm_->bStopClick();
          return TRUE;
        case IDCANCEL:
          // Escape closes without a question; during a run it does nothing.
          if (!fm_->ExportRunning()) RequestClose();
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      RequestClose();
      return TRUE;
    case WM_TIMER:
      if (wp == kProgressTimer) ShowProgress();
      return TRUE;
    case kRunDone: {
      if (worker_.joinable()) worker_.join();
      KillTimer(main_, kProgressTimer);
      ShowProgress();  // the run's last state: done, stopped or failed
      auto done = std::move(runDone_);
      if (done) done(runError_);
      return TRUE;
    }
    case kCallOnUi:
      (*reinterpret_cast<std::function<void()>*>(lp))();
      return TRUE;
    case kEndWithoutAsking:
      fm_->EndWithoutAsking();
      return TRUE;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Logging off: the run stops (the previous files kept) before Windows ends the process.
      if (wp) {
        fm_->EndWithoutAsking();
        AbandonRun(4000);
      }
      return TRUE;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(main_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace iex::win
