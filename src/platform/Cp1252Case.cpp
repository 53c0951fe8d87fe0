#include "platform/Cp1252Case.h"

#include <array>

namespace iex {
namespace {

constexpr std::array<unsigned char, 256> MakeUpper() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
  for (int c = 'a'; c <= 'z'; ++c) t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 32);
  for (int c = 0xE0; c <= 0xFE; ++c)
    if (c != 0xF7) t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 32);  // à..þ, not ÷
  t[0x9A] = 0x8A;  // š Š
  t[0x9C] = 0x8C;  // œ Œ
  t[0x9E] = 0x8E;  // ž Ž
  t[0xFF] = 0x9F;  // ÿ Ÿ
  return t;
}
constexpr std::array<unsigned char, 256> kUpper = MakeUpper();

// The base letter of an upper-case letter: the accent dropped.
constexpr std::array<unsigned char, 256> MakeBase() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = kUpper[static_cast<std::size_t>(i)];
  auto range = [&](int from, int to, char base) {
    for (int c = from; c <= to; ++c) t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(base);
  };
  range(0xC0, 0xC6, 'A');  // À..Æ
  range(0xC7, 0xC7, 'C');
  range(0xC8, 0xCB, 'E');
  range(0xCC, 0xCF, 'I');
  range(0xD0, 0xD0, 'D');
  range(0xD1, 0xD1, 'N');
  range(0xD2, 0xD6, 'O');
  range(0xD8, 0xD8, 'O');
  range(0xD9, 0xDC, 'U');
  range(0xDD, 0xDD, 'Y');
  range(0xDE, 0xDE, 'T');
  range(0xDF, 0xDF, 'S');  // ß
  range(0x8A, 0x8A, 'S');
  range(0x8C, 0x8C, 'O');
  range(0x8E, 0x8E, 'Z');
  range(0x9F, 0x9F, 'Y');
  for (int c = 0xE0; c <= 0xFF; ++c)
    if (c != 0xF7) t[static_cast<std::size_t>(c)] = t[kUpper[static_cast<std::size_t>(c)]];
  for (int c : {0x9A, 0x9C, 0x9E}) t[static_cast<std::size_t>(c)] = t[kUpper[static_cast<std::size_t>(c)]];
  return t;
}
constexpr std::array<unsigned char, 256> kBase = MakeBase();

unsigned char At(const std::array<unsigned char, 256>& t, char c) { return t[static_cast<unsigned char>(c)]; }

template <typename Key>
int Compare(const std::string& a, const std::string& b, Key key) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = key(a[i]), y = key(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

char UpperCp1252(char c) { return static_cast<char>(At(kUpper, c)); }

std::string UpperCp1252(std::string s) {
  for (char& c : s) c = UpperCp1252(c);
  return s;
}

bool SameTextCp1252(const std::string& a, const std::string& b) {
  return a.size() == b.size() && Compare(a, b, [](char c) { return At(kUpper, c); }) == 0;
}

bool NameLess(const std::string& a, const std::string& b) {
  if (const int base = Compare(a, b, [](char c) { return At(kBase, c); })) return base < 0;
  return Compare(a, b, [](char c) { return At(kUpper, c); }) < 0;
}

}  // namespace iex
