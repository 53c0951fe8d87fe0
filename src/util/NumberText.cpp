#include "util/NumberText.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/Error.h"

namespace iex {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int DigitValue(char c) {
  for (int i = 0; i < 16; ++i)
    if (kDigits[i] == c) return i;
  return 99;
}

}  // namespace

std::string IntToBaseText(int32_t n, uint8_t base) {
  if (base < 2 || base > 16) base = 10;
  const bool negative = n < 0;
  uint32_t v = negative ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  std::string result;
  while (v != 0) {
    result.insert(result.begin(), kDigits[v % base]);
    v /= base;
  }
  if (negative) result.insert(result.begin(), '-');
  return result;
}

std::string IntToText(int32_t n) { return IntToBaseText(n, 10); }

int64_t TextToNumber(const std::string& s, uint8_t base) {
  // Only the first (length mod 256) characters of a long text count.
  const std::size_t scan = s.size() < 256 ? s.size() : s.size() % 256;
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  uint64_t result = 0;
  for (std::size_t i = 0; i < scan; ++i) {
    const int d = DigitValue(s[i]);
    if (d >= base) continue;
    if (result > (kMax - static_cast<uint64_t>(d)) / base) throw EMvError("Numeric Overflow: " + s);
    result = result * base + static_cast<uint64_t>(d);
  }
  const bool negative = !s.empty() && (s.front() == '-' || s.back() == '-');
  const auto value = static_cast<int64_t>(result);
  return negative ? -value : value;
}

int64_t TextToComp(const std::string& s) { return TextToNumber(s, 10); }

int32_t TextToInt(const std::string& s) {
  const int64_t x = TextToNumber(s, 10);
  if (x > 2147483647 || x < -2147483647) throw EMvError("Invalid Integer Format: " + s);
  return static_cast<int32_t>(x);
}

std::string CompToText(int64_t v) {
  const uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  if (magnitude < 1000000000000000ULL) return std::to_string(v);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", static_cast<double>(v));
  std::string text(buf);
  const auto e = text.find('e');
  std::string mantissa = text.substr(0, e);
  const int exponent = std::atoi(text.c_str() + e + 1);
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  return mantissa + "E" + std::to_string(exponent);
}

std::string RepeatChar(char ch, uint16_t count) {
  return count <= 255 ? std::string(count, ch) : std::string();
}

std::string ZeroPad(const std::string& s, int width) {
  if (width <= 0) return s.empty() ? "0" : s;
  const auto w = static_cast<std::size_t>(width);
  if (w > s.size()) return RepeatChar('0', static_cast<uint16_t>(w - s.size())) + s;
  return s.substr(s.size() - w);
}

std::string TrimBlanks(const std::string& s) {
  auto blank = [](char c) { return c == ' ' || c == '\r'; };
  std::size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string RemoveSpaces(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != ' ') out += c;
  return out;
}

bool ContainsLetter(const std::string& s) {
  for (char c : s)
    if (c >= 'A' && c <= 'Z') return true;
  return false;
}

}  // namespace iex
