#include "util/CharTests.h"

#include <algorithm>

#include "util/NumberText.h"

namespace iex {

bool IsAllLetters(const std::string& text) {
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    const char u = UpperAscii(c);
    return u >= 'A' && u <= 'Z';
  });
}

int CountChar(char ch, const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), ch)); }

}  // namespace iex
