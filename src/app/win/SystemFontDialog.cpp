#include "app/win/SystemFontDialog.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace iex::win {
namespace {

// SystemParametersInfoForDpi is Windows 10's; older systems have only the system DPI.
bool NonClientMetrics(NONCLIENTMETRICSW& metrics, UINT dpi) {
  using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  metrics.cbSize = sizeof metrics;
  if (auto forDpi = reinterpret_cast<ForDpi>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi"))))
    if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return true;
  return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
}

// Past a name-or-ordinal field of a dialog template.
const BYTE* SkipNameOrOrdinal(const BYTE* p) {
  WORD first;
  std::memcpy(&first, p, sizeof first);
  if (first == 0x0000) return p + 2;
  if (first == 0xFFFF) return p + 4;
  return p + (std::wcslen(reinterpret_cast<const wchar_t*>(p)) + 1) * sizeof(wchar_t);
}

const BYTE* AlignDword(const BYTE* base, const BYTE* p) { return base + ((p - base + 3) & ~std::ptrdiff_t(3)); }

}  // namespace

TDialogFont MessageFont(UINT dpi) {
  TDialogFont font;
  NONCLIENTMETRICSW metrics{};
  if (!NonClientMetrics(metrics, dpi)) return font;
  const LOGFONTW& lf = metrics.lfMessageFont;
  // The template states points at the dialog's own DPI.
  const int points = MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, static_cast<int>(dpi ? dpi : 96));
  if (points > 0) font.points = static_cast<WORD>(points);
  font.weight = static_cast<WORD>(lf.lfWeight ? lf.lfWeight : FW_NORMAL);
  font.italic = lf.lfItalic;
  font.charset = lf.lfCharSet;
  if (lf.lfFaceName[0]) std::wcsncpy(font.face, lf.lfFaceName, LF_FACESIZE - 1);
  return font;
}

HWND CreateDialogInSystemFont(HINSTANCE instance, int id, HWND parent, DLGPROC proc, LPARAM param, UINT dpi) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const auto* base = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
  if (!base) return nullptr;
  const DWORD size = SizeofResource(instance, found);
  WORD signature;
  std::memcpy(&signature, base + 2, sizeof signature);
  DWORD style;
  std::memcpy(&style, base + 12, sizeof style);
  if (signature != 0xFFFF || !(style & DS_SETFONT))  // not an extended template with a font: as it is
    return CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(base), parent, proc, param);

  // Header: version, signature, help id, extended style, style, item count,
  // position and size (26 bytes), then menu, class and title.
  const BYTE* p = base + 26;
  p = SkipNameOrOrdinal(p);
  p = SkipNameOrOrdinal(p);
  p += (std::wcslen(reinterpret_cast<const wchar_t*>(p)) + 1) * sizeof(wchar_t);
  const BYTE* fontStart = p;
  p += 2 + 2 + 1 + 1;  // points, weight, italic, charset
  p += (std::wcslen(reinterpret_cast<const wchar_t*>(p)) + 1) * sizeof(wchar_t);
  const BYTE* items = AlignDword(base, p);

  const TDialogFont font = MessageFont(dpi);
  std::vector<BYTE> copy(base, fontStart);
  auto put = [&](const void* data, std::size_t n) {
    const auto* b = static_cast<const BYTE*>(data);
    copy.insert(copy.end(), b, b + n);
  };
  put(&font.points, 2);
  put(&font.weight, 2);
  put(&font.italic, 1);
  put(&font.charset, 1);
  put(font.face, (std::wcslen(font.face) + 1) * sizeof(wchar_t));
  while (copy.size() % 4) copy.push_back(0);
  // Items keep their alignment: both lists start on a DWORD boundary.
  copy.insert(copy.end(), items, base + size);
  // The face is the system's own: no "MS Shell Dlg" mapping on top of it.
  DWORD patched = style & ~static_cast<DWORD>(DS_FIXEDSYS);
  std::memcpy(copy.data() + 12, &patched, sizeof patched);
  return CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()), parent, proc, param);
}

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return static_cast<UINT>(dpi > 0 ? dpi : 96);
}

}  // namespace iex::win
