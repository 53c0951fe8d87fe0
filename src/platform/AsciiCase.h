#pragma once
#include <string>

namespace iex {

// Upper case of the letters a to z only; every other character stays, as
// the registry, the INI files and the date routines compare names.
inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string UpperAscii(std::string s) {
  for (char& c : s) c = UpperAscii(c);
  return s;
}

inline bool SameTextAscii(const std::string& a, const std::string& b) { return UpperAscii(a) == UpperAscii(b); }

}  // namespace iex
