#include "platform/Codepage1252.h"

#include <array>
#include <cstdint>

namespace iex {
namespace {

// Unicode code points of bytes 0x80 to 0x9F; 0 marks the five unassigned bytes.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

char32_t Cp1252CodePoint(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return kHigh[b - 0x80] ? kHigh[b - 0x80] : b;
  return b;
}

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The byte of a code point, or 0 when Windows-1252 has none (U+0000 is
// byte 0 and handled before).
char ByteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  // The five unassigned bytes stand for themselves both ways.
  if (cp >= 0x80 && cp < 0xA0 && !kHigh[cp - 0x80]) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
  return 0;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (unsigned char b : cp1252) AppendUtf8(out, Cp1252CodePoint(b));
  return out;
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size() + (extra == 0 ? 1 : 0)) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

std::string Utf8ToCp1252(std::string_view s, long* lost) {
  auto substitute = [&](std::string& out) {
    out += '?';
    if (lost) ++*lost;
  };
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) {
      substitute(out);
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!ok) {
      substitute(out);
      ++i;
      continue;
    }
    const char byte = ByteOf(cp);
    if (byte == 0)
      substitute(out);
    else
      out += byte;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

}  // namespace iex
