#include "db/Charsets.h"

#include "platform/AnsiText.h"

namespace iex::db {

unsigned CharsetOfCodePage(int codePage) {
  switch (codePage) {
    case 1250: return 51;  // WIN1250
    case 1251: return 52;
    case 1252: return 53;
    case 1253: return 54;
    case 1254: return 55;
    case 1255: return 58;
    case 1256: return 59;
    case 1257: return 60;
    case 1258: return 65;
    default: return kCharsetNone;
  }
}

bool PassesThrough(unsigned charset) {
  static const unsigned ansi = CharsetOfCodePage(AnsiCodePage());
  return charset == kCharsetNone || charset == kCharsetOctets || charset == kCharsetAscii || charset == ansi;
}

unsigned BytesPerCharacter(unsigned charset) {
  switch (charset) {
    case 3: return 3;                                              // UNICODE_FSS
    case 4: case 69: return 4;                                     // UTF8, GB18030
    case 5: case 6: case 44: case 56: case 57: case 67: case 68: return 2;  // the double-byte sets
    default: return 1;
  }
}

}  // namespace iex::db
