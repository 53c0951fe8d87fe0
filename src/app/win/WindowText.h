#pragma once
#include <windows.h>

#include <string>

#include "platform/WinText.h"

namespace iex::win {

// The controller's texts are 8-bit in the ANSI code page; the controls speak UTF-16.
inline std::string WindowTextOf(HWND w) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return AnsiOfWide(text);
}

inline void SetWindowTextOf(HWND w, const std::string& ansi) { SetWindowTextW(w, WideOfAnsi(ansi).c_str()); }

// A file path (UTF-8) for a control, and back.
inline std::wstring WideOfPath(const std::string& utf8) { return WideOfUtf8(utf8); }

}  // namespace iex::win
