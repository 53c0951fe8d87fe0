#include <windows.h>

#include <algorithm>

#include "platform/AnsiText.h"
#include "platform/Codepage1252.h"
#include "platform/WinText.h"

namespace iex {

int AnsiCodePage() { return static_cast<int>(GetACP()); }

std::string NativeSeparators(std::string_view path) {
  std::string native(path);
  std::replace(native.begin(), native.end(), '/', '\\');
  return native;
}

std::string AnsiToUtf8(std::string_view ansi) { return win::Utf8OfWide(win::WideOfAnsi(ansi)); }

std::string Utf8ToAnsi(std::string_view utf8, long* lost) {
  // Bytes that are no UTF-8 count as lost, as on Linux.
  long invalid = 0;
  const std::string clean = IsValidUtf8(utf8) ? std::string(utf8) : Cp1252ToUtf8(Utf8ToCp1252(utf8, &invalid));
  const std::string ansi = win::AnsiOfWide(win::WideOfUtf8(clean));
  if (lost) {
    // "?" stands for each character the code page lacks; the text's own stay.
    const auto before = std::count(clean.begin(), clean.end(), '?');
    const auto after = std::count(ansi.begin(), ansi.end(), '?');
    *lost += static_cast<long>(after - before) + invalid;
  }
  return ansi;
}

}  // namespace iex
