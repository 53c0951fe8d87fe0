#include "platform/AnsiText.h"

#include "platform/Codepage1252.h"

namespace iex {

int AnsiCodePage() { return 1252; }

std::string NativeSeparators(std::string_view path) { return std::string(path); }

std::string AnsiToUtf8(std::string_view ansi) { return Cp1252ToUtf8(ansi); }

std::string Utf8ToAnsi(std::string_view utf8, long* lost) { return Utf8ToCp1252(utf8, lost); }

}  // namespace iex
