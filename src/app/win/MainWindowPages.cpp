// The two pages of the window: made from their dialog resources inside the
// frame, their controls bound to the controller's fields and logic.
#include <windows.h>
#include <commctrl.h>

#include "app/win/MainWindow.h"
#include "app/win/Resources.h"
#include "app/win/SystemFontDialog.h"
#include "app/win/WindowText.h"

namespace iex::win {
namespace {

const std::pair<TElement, int> kFrameElements[] = {
    {TElement::bStop, IDC_STOP},     {TElement::bExport, IDC_EXPORT},     {TElement::bExit, IDC_EXIT},
    {TElement::lStatus, IDC_STATUS}, {TElement::lStatusNo, IDC_STATUSNO}};
const std::pair<TElement, int> kVersionElements[] = {
    {TElement::gbVersion, IDC_GBVERSION}, {TElement::cbAlias, IDC_ALIAS},         {TElement::edPath, IDC_PATH},
    {TElement::edUserName, IDC_USERNAME}, {TElement::edPassword, IDC_PASSWORD},   {TElement::edStartInvDate, IDC_STARTDATE},
    {TElement::edEndInvDate, IDC_ENDDATE}, {TElement::edStartInvNo, IDC_STARTNO}, {TElement::edEndInvNo, IDC_ENDNO},
    {TElement::cbBranch, IDC_BRANCH}};
// The letter fields in the resource's order (IDC_LETTER + i).
const TElement kLetters[10] = {TElement::eAir,  TElement::eHotel, TElement::eCar,  TElement::eCruise, TElement::eTour,
                               TElement::eRail, TElement::eTrans, TElement::eIns, TElement::eServ,   TElement::eOther};

void AddItems(HWND combo, std::initializer_list<const wchar_t*> items) {
  for (const wchar_t* item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

int TextWidth(HWND control, const std::string& text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  const std::wstring wide = WideOfAnsi(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

}  // namespace

void TMainWindow::BuildPages() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RECT area{};
  GetWindowRect(GetDlgItem(main_, IDC_PAGE_AREA), &area);
  MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&area), 2);
  const UINT dpi = ScreenDpi();
  version_ = CreateDialogInSystemFont(instance, IDD_VERSION, main_, PageProc, reinterpret_cast<LPARAM>(this), dpi);
  mapping_ = CreateDialogInSystemFont(instance, IDD_MAPPING, main_, PageProc, reinterpret_cast<LPARAM>(this), dpi);
  if (!version_ || !mapping_) throw EMvError("The window's pages could not be made (Windows error " +
                                             std::to_string(GetLastError()) + ").");
  for (HWND page : {version_, mapping_}) {
    // Placed where the frame keeps room for them, before the buttons in the Tab order.
    SetWindowPos(page, GetDlgItem(main_, IDC_PAGE_AREA), area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOACTIVATE);
  }
  ShowWindow(mapping_, SW_HIDE);
  ShowWindow(version_, SW_SHOW);

  phase_ = GetDlgItem(main_, IDC_PHASE);
  progress_ = GetDlgItem(main_, IDC_PROGRESS);
  for (const auto& [e, id] : kFrameElements) elements_[e] = GetDlgItem(main_, id);
  for (const auto& [e, id] : kVersionElements) elements_[e] = GetDlgItem(version_, id);
  for (int i = 0; i < 10; ++i) {
    HWND letter = GetDlgItem(mapping_, IDC_LETTER + i);
    SendMessageW(letter, EM_LIMITTEXT, 1, 0);
    elements_[kLetters[i]] = letter;
  }
  elements_[TElement::cbMapBy] = GetDlgItem(mapping_, IDC_MAPBY);
  elements_[TElement::cbItinMap] = GetDlgItem(mapping_, IDC_ITINMAP);
  elements_[TElement::gTravelType] = GetDlgItem(mapping_, IDC_GRID);
  AddItems(elements_[TElement::cbMapBy], {L"Travel Category", L"Travel Type"});
  AddItems(elements_[TElement::cbItinMap], {L"Varies by Travel Category", L"Vendor Name"});
  // Hundreds of aliases scroll; the list never fills the screen.
  SendMessageW(elements_[TElement::cbAlias], CB_SETMINVISIBLE, 20, 0);
  ShowWindow(phase_, SW_HIDE);
  ShowWindow(progress_, SW_HIDE);
  ShowWindow(elements_[TElement::bStop], SW_HIDE);

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMessageFont.lfWeight = FW_BOLD;
  metrics.lfMessageFont.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
  boldFont_ = CreateFontIndirectW(&metrics.lfMessageFont);
  for (TElement e : {TElement::lStatus, TElement::lStatusNo})
    SendMessageW(elements_[e], WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main_, nullptr, instance, nullptr);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, static_cast<int>(dpi), 96));
}

void TMainWindow::BindFields() {
  auto error = [this](const std::string& text) { ShowError(text); };
  auto bind = [&](std::unique_ptr<TBoundEdit>& edit, TElement e, TBaseEdit& logic) {
    edit = std::make_unique<TBoundEdit>(elements_[e], logic, error);
    edit->OnEnter = [this] { PressDefaultButton(); };
  };
  bind(startDate_, TElement::edStartInvDate, fm_->edStartInvDate);
  bind(endDate_, TElement::edEndInvDate, fm_->edEndInvDate);
  bind(startNo_, TElement::edStartInvNo, fm_->edStartInvNo);
  bind(endNo_, TElement::edEndInvNo, fm_->edEndInvNo);
  for (TBoundEdit* number : {startNo_.get(), endNo_.get()})
    number->Accept = [](wchar_t c) { return c < 128 && TNumEdit::AcceptChar(static_cast<char>(c)); };
  startDrop_ = std::make_unique<TDateDropDown>(startDate_->Handle(), fm_->edStartInvDate, error);
  endDrop_ = std::make_unique<TDateDropDown>(endDate_->Handle(), fm_->edEndInvDate, error);
  startDate_->OnDropDownKey = [this] { startDrop_->Open(); };
  endDate_->OnDropDownKey = [this] { endDrop_->Open(); };
  grid_ = std::make_unique<TTravelTypeList>(elements_[TElement::gTravelType], fm_->gTravelType);
  SetWindowSubclass(elements_[TElement::cbAlias], AliasKeysProc, 0, reinterpret_cast<DWORD_PTR>(this));
  fm_->cbBranch.TextWidth = [this](const std::string& t) { return TextWidth(elements_[TElement::cbBranch], t); };
  fm_->cbBranch.ScrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
}

INT_PTR CALLBACK TMainWindow::PageProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(w, DWLP_USER, lp);
    return FALSE;
  }
  auto* self = reinterpret_cast<TMainWindow*>(GetWindowLongPtrW(w, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_COMMAND:
      return self->OnPageCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
    case WM_DRAWITEM: {
      // The calendar buttons: the drop-down arrow a combo box shows.
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (d->CtlID != IDC_STARTDATE_DROP && d->CtlID != IDC_ENDDATE_DROP) return FALSE;
      RECT r = d->rcItem;
      DrawFrameControl(d->hDC, &r, DFC_SCROLL,
                       DFCS_SCROLLCOMBOBOX | ((d->itemState & ODS_SELECTED) ? DFCS_PUSHED | DFCS_FLAT : 0u));
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(lp);
      if (self->grid_ && n->hwndFrom == self->grid_->Handle()) self->grid_->OnNotify(*n);
      return FALSE;
    }
    default:
      return FALSE;
  }
}

INT_PTR TMainWindow::OnPageCommand(WORD id, WORD code, HWND) {
  try {
    switch (id) {
      case IDC_STARTDATE: case IDC_ENDDATE: case IDC_STARTNO: case IDC_ENDNO:
        if (code == EN_CHANGE) {
          TBoundEdit* edit = id == IDC_STARTDATE ? startDate_.get() : id == IDC_ENDDATE ? endDate_.get()
                             : id == IDC_STARTNO ? startNo_.get() : endNo_.get();
          if (edit) edit->TextChanged();
        }
        return TRUE;
      case IDC_STARTDATE_DROP:
        if (code == BN_CLICKED) startDrop_->Open();
        return TRUE;
      case IDC_ENDDATE_DROP:
        if (code == BN_CLICKED) endDrop_->Open();
        return TRUE;
      case IDC_ALIAS:
        if (code == CBN_DROPDOWN) fm_->cbAliasDropDown();
        if (code == CBN_SELCHANGE) fm_->cbAliasChange();
        return TRUE;
      case IDC_BRANCH:
        if (code == CBN_DROPDOWN) SyncBranches();
        if (code == CBN_SELCHANGE) {
          fm_->cbBranch.Change(static_cast<int>(SendMessageW(elements_[TElement::cbBranch], CB_GETCURSEL, 0, 0)));
          SetHint(TElement::cbBranch, fm_->cbBranch.Hint);
        }
        return TRUE;
      case IDC_MAPBY:
        if (code == CBN_SELCHANGE) fm_->cbMapByChange();
        return TRUE;
      default:
        return FALSE;
    }
  } catch (const std::exception& e) {
    ShowError(e.what());
    return TRUE;
  }
}

// The branch list refills from the database when it opens, keeps the choice
// and widens to its longest line.
void TMainWindow::SyncBranches() {
  HWND combo = elements_[TElement::cbBranch];
  TIBBranchComboBox& logic = fm_->cbBranch;
  RECT r{};
  GetWindowRect(combo, &r);
  logic.ItemIndex = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
  logic.Width = r.right - r.left;
  logic.DropDownCount = static_cast<int>(SendMessageW(combo, CB_GETMINVISIBLE, 0, 0));
  try {
    logic.DropDown();
  } catch (const std::exception& e) {
    // A branch that the refilled list no longer holds: say so, open what there is.
    ShowError(e.what());
  }
  std::vector<std::string> lines;
  for (const auto& line : logic.Items) lines.push_back(line.text);
  SetItems(TElement::cbBranch, lines);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(logic.ItemIndex), 0);
  if (logic.DropDownWidth > 0) SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(logic.DropDownWidth), 0);
}

// The alias list: typing a name's first letters picks it, as a list box does.
LRESULT CALLBACK TMainWindow::AliasKeysProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TMainWindow*>(data);
  if (msg != WM_CHAR || wp < 0x20 || (GetKeyState(VK_CONTROL) & 0x8000)) return DefSubclassProc(w, msg, wp, lp);
  const DWORD now = GetTickCount();
  if (now - self->lastAliasKey_ > GetDoubleClickTime() * 2) self->typedAlias_.clear();
  self->lastAliasKey_ = now;
  self->typedAlias_ += static_cast<wchar_t>(wp);
  const LRESULT found = SendMessageW(w, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(self->typedAlias_.c_str()));
  if (found != CB_ERR && found != SendMessageW(w, CB_GETCURSEL, 0, 0)) {
    SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    self->OnPageCommand(IDC_ALIAS, CBN_SELCHANGE, w);
  }
  return 0;
}

}  // namespace iex::win
