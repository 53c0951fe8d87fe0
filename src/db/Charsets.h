#pragma once

namespace iex::db {

// Firebird's numbers for the character sets the program treats apart.
constexpr unsigned kCharsetNone = 0, kCharsetOctets = 1, kCharsetAscii = 2, kCharsetUtf8 = 4;

// The character set whose bytes are those of a Windows ANSI code page; 0
// (NONE) when Firebird has none that matches.
unsigned CharsetOfCodePage(int codePage);

// Columns in these reach the program byte for byte: no character set
// (NONE, OCTETS), plain ASCII, and the ANSI code page's own. Every other is
// read as UTF-8, which the engine converts to, and then put into the code page.
bool PassesThrough(unsigned charset);

// The most bytes one character takes in the set.
unsigned BytesPerCharacter(unsigned charset);

}  // namespace iex::db
