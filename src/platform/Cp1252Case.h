#pragma once
#include <string>

namespace iex {

// Case and order of names stored in Windows-1252 (aliases, registry and INI
// names), for the whole repertoire, not just a to z: "été" equals "ÉTÉ" and
// sorts among the E's. A fixed table, so the order is the same on every machine.
char UpperCp1252(char c);
std::string UpperCp1252(std::string s);
bool SameTextCp1252(const std::string& a, const std::string& b);
// Letters first by their base letter (É as E), then by case-folded text;
// names that differ only in case are equal, so a stable sort keeps their order.
bool NameLess(const std::string& a, const std::string& b);

}  // namespace iex
