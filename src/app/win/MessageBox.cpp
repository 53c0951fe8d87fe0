#include "app/win/MessageBox.h"

#include <commctrl.h>

#include "platform/WinText.h"

namespace iex::win {
namespace {

TMsgResult ResultOf(int id) {
  switch (id) {
    case IDYES: return TMsgResult::Yes;
    case IDNO: return TMsgResult::No;
    case IDCANCEL: return TMsgResult::Cancel;
    default: return TMsgResult::OK;
  }
}

// TaskDialogIndirect is Common Controls 6's: looked up, so the program still
// shows its messages where only version 5 is loaded.
using TaskDialogFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

TaskDialogFunction TaskDialogEntry() {
  HMODULE controls = GetModuleHandleW(L"comctl32.dll");
  return controls ? reinterpret_cast<TaskDialogFunction>(reinterpret_cast<void*>(GetProcAddress(controls, "TaskDialogIndirect")))
                  : nullptr;
}

}  // namespace

TMsgResult ShowMessageBox(HWND owner, const std::string& titleAnsi, const TMessage& m) {
  const std::wstring title = WideOfAnsi(titleAnsi), text = WideOfAnsi(m.text);
  const bool yesNo = m.buttons != TMsgButtons::OK;
  if (!m.details.empty()) {
    if (TaskDialogFunction taskDialog = TaskDialogEntry()) {
      // The first line says what happened, the rest why; the engine's words below.
      const std::size_t firstBreak = text.find(L'\n');
      const std::wstring instruction = text.substr(0, firstBreak);
      const std::wstring content = firstBreak == std::wstring::npos ? std::wstring() : text.substr(firstBreak + 1);
      const std::wstring details = WideOfAnsi(m.details);
      TASKDIALOGCONFIG c{};
      c.cbSize = sizeof c;
      c.hwndParent = owner;
      c.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
      c.pszWindowTitle = title.c_str();
      c.pszMainIcon = m.kind == TMsgKind::Information ? TD_INFORMATION_ICON
                      : m.kind == TMsgKind::Warning   ? TD_WARNING_ICON
                                                      : TD_ERROR_ICON;
      c.pszMainInstruction = instruction.c_str();
      c.pszContent = content.empty() ? nullptr : content.c_str();
      c.pszExpandedInformation = details.c_str();
      c.pszExpandedControlText = L"Hide details";
      c.pszCollapsedControlText = L"Details";
      c.dwCommonButtons = m.buttons == TMsgButtons::OK       ? TDCBF_OK_BUTTON
                          : m.buttons == TMsgButtons::YesNo ? TDCBF_YES_BUTTON | TDCBF_NO_BUTTON
                                                            : TDCBF_YES_BUTTON | TDCBF_NO_BUTTON | TDCBF_CANCEL_BUTTON;
      c.nDefaultButton = yesNo ? (m.defaultNo ? IDNO : IDYES) : IDOK;
      int pressed = 0;
      if (SUCCEEDED(taskDialog(&c, &pressed, nullptr, nullptr))) return ResultOf(pressed);
    }
  }
  UINT flags = MB_SETFOREGROUND;
  flags |= m.kind == TMsgKind::Information ? MB_ICONINFORMATION : m.kind == TMsgKind::Warning ? MB_ICONWARNING : MB_ICONERROR;
  flags |= m.buttons == TMsgButtons::OK ? MB_OK : m.buttons == TMsgButtons::YesNo ? MB_YESNO : MB_YESNOCANCEL;
  if (yesNo && m.defaultNo) flags |= MB_DEFBUTTON2;  // a stray Enter answers No
  const std::wstring shown = m.details.empty() ? text : text + L"\n\n" + WideOfAnsi(m.details);
  return ResultOf(MessageBoxW(owner, shown.c_str(), title.c_str(), flags));
}

}  // namespace iex::win
