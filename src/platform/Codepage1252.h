#pragma once
#include <string>
#include <string_view>

namespace iex {

// Windows-1252 itself: the ANSI code page on Linux (AnsiText.h) and the
// encoding of ANSI registry hives.
// Unmappable characters and bytes that are no UTF-8 become '?', counted in `lost`.
std::string Utf8ToCp1252(std::string_view utf8, long* lost = nullptr);
std::string Cp1252ToUtf8(std::string_view cp1252);
char32_t Cp1252CodePoint(unsigned char b);
bool IsValidUtf8(std::string_view text);

}  // namespace iex
