#pragma once
#include <string>

namespace iex {

// True for a non-empty text of the letters a to z and A to Z only.
bool IsAllLetters(const std::string& text);
int CountChar(char ch, const std::string& text);

}  // namespace iex
