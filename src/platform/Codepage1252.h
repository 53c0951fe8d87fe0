#pragma once
#include <string>
#include <string_view>

namespace iex {

// Files, database text and card bytes are 8-bit Windows-1252; the terminal and
// the window speak UTF-8. These convert at those borders only.
std::string Utf8ToCp1252(std::string_view utf8);  // unmappable characters become '?'
std::string Cp1252ToUtf8(std::string_view cp1252);
char32_t Cp1252CodePoint(unsigned char b);
bool IsValidUtf8(std::string_view text);

}  // namespace iex
