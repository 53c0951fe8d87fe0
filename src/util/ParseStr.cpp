#include "util/ParseStr.h"

namespace iex {

void ParseStr::Parse(const std::string& parseString, const std::string& fieldSepChar,
                     const std::string& fieldDelimChar) {
  fPosArray.fill(Entry{});
  fS = parseString.size() > kMaxLength ? parseString.substr(0, kMaxLength) : parseString;
  fNumOfFlds = 0;
  if (fS.empty()) {
    fNumOfFlds = 1;
    return;
  }
  const char sep = fieldSepChar.empty() ? '\0' : fieldSepChar[0];
  const bool quoting = !fieldDelimChar.empty();
  const char quote = quoting ? fieldDelimChar[0] : '\0';
  const std::size_t len = fS.size();
  std::size_t pos = 0;  // 0-based cursor
  for (std::size_t field = 1;; ++field) {
    std::size_t start = pos;
    std::size_t length = 0;
    bool quoted = false;
    if (quoting && pos < len && fS[pos] == quote) {
      quoted = true;
      start = pos + 1;
      const std::size_t close = fS.find(quote, start);
      if (close == std::string::npos) {
        length = len - start;
        pos = len;
      } else {
        length = close - start;
        pos = close + 1;
      }
    }
    bool more = false;
    if (pos < len) {
      const std::size_t next = fS.find(sep, pos);
      if (!quoted) length = (next == std::string::npos ? len : next) - start;
      if (next != std::string::npos) {
        pos = next + 1;
        more = true;
      }
    }
    if (start + 1 <= kMaxLength) fPosArray[field] = Entry{static_cast<uint16_t>(start + 1),
                                                          static_cast<uint16_t>(length)};
    fNumOfFlds = static_cast<uint16_t>(field);
    // Past 1024 fields nothing more is recorded.
    if (!more || field == kMaxFields) break;
  }
}

std::string ParseStr::GetField(uint16_t i) const {
  if (i < 1 || i > kMaxFields) return std::string();
  const Entry& e = fPosArray[i];
  if (e.start == 0 || e.length == 0) return std::string();
  return fS.substr(e.start - 1u, e.length);
}

ParseStr::Iterator ParseStr::begin() const { return Iterator(this, 1); }
ParseStr::Iterator ParseStr::end() const { return Iterator(this, static_cast<uint16_t>(fNumOfFlds + 1)); }

bool TParseStrEnumerator::MoveNext() {
  if (fIndex >= fParseStr.fNumOfFlds) return false;
  ++fIndex;
  return true;
}

}  // namespace iex
