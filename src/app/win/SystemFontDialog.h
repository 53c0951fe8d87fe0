#pragma once
#include <windows.h>

namespace iex::win {

// The system's message font (SystemParametersInfo, for the DPI given), in
// the size a dialog template states it: points and face.
struct TDialogFont {
  WORD points = 9;
  WORD weight = FW_NORMAL;
  BYTE italic = 0;
  BYTE charset = DEFAULT_CHARSET;
  wchar_t face[LF_FACESIZE] = L"Segoe UI";
};
TDialogFont MessageFont(UINT dpi);

// The screen's DPI (96 at 100%).
UINT ScreenDpi();

// A modeless dialog from the resource `id`, in the system's message font
// instead of the one its template names, so its dialog units follow what
// the user chose for Windows' texts.
HWND CreateDialogInSystemFont(HINSTANCE instance, int id, HWND parent, DLGPROC proc, LPARAM param, UINT dpi);

}  // namespace iex::win
