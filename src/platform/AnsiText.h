#pragma once
#include <string>
#include <string_view>

namespace iex {

// Plain std::string text inside the program is 8-bit, in the machine's
// single-byte ANSI code page: the import files, registry and INI texts,
// messages. The terminal, file names and the window toolkit speak UTF-8;
// names that carry UTF-8 say so ("Utf8"). These convert at those borders.
//
// The code page is Windows-1252 on Linux, the machine's own (GetACP) on Windows.
int AnsiCodePage();
std::string AnsiToUtf8(std::string_view ansi);
// Characters the code page cannot hold (and bytes that are no UTF-8) become
// "?"; `lost`, when given, counts them.
std::string Utf8ToAnsi(std::string_view utf8, long* lost = nullptr);
// A local path with the system's own separators: "\\" on Windows, where a
// path may have been put together with "/".
std::string NativeSeparators(std::string_view path);
// A file path (UTF-8) as a message shows it.
inline std::string ShownPath(std::string_view pathUtf8) { return Utf8ToAnsi(NativeSeparators(pathUtf8)); }

}  // namespace iex
