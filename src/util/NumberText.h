#pragma once
#include <cstdint>
#include <string>

#include "platform/AsciiCase.h"

namespace iex {

// Whole numbers to text and back, with the tolerant digit scanner the entry
// controls rely on. All texts are 8-bit.

std::string IntToBaseText(int32_t n, uint8_t base);  // 0 gives the empty text
std::string IntToText(int32_t n);

// Scans every digit of the alphabet 0-9A-F below base and skips everything
// else; "-" first or last negates. Raises "Numeric Overflow: <s>".
int64_t TextToNumber(const std::string& s, uint8_t base);
int64_t TextToComp(const std::string& s);
// Raises "Invalid Integer Format: <s>" beyond +-2147483647.
int32_t TextToInt(const std::string& s);
// 15 significant digits; exponent form from 10^15 on (1E15).
std::string CompToText(int64_t v);

std::string RepeatChar(char ch, uint16_t count);  // empty above 255
std::string ZeroPad(const std::string& s, int width);
std::string TrimBlanks(const std::string& s);  // blanks and CRs only
std::string RemoveSpaces(const std::string& s);
bool ContainsLetter(const std::string& s);  // A to Z only

}  // namespace iex
