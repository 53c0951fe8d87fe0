#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace iex {

// One text split into fields at a separator, with optional quoting. At most
// 1024 fields are recorded; a text is read up to its 65535th character.
struct ParseStr {
  static constexpr std::size_t kMaxFields = 1024;
  static constexpr std::size_t kMaxLength = 65535;

  struct Entry {
    uint16_t start = 0;  // 1-based; 0 = no such field
    uint16_t length = 0;
  };

  std::array<Entry, kMaxFields + 1> fPosArray{};  // entry 0 unused
  std::string fS;
  uint16_t fNumOfFlds = 0;

  // Only the first character of each argument counts; an empty quote
  // argument means no quoting.
  void Parse(const std::string& parseString, const std::string& fieldSepChar,
             const std::string& fieldDelimChar = std::string());
  std::string GetField(uint16_t i) const;

  class Iterator;
  Iterator begin() const;
  Iterator end() const;
};

class ParseStr::Iterator {
 public:
  Iterator(const ParseStr* p, uint16_t i) : p_(p), i_(i) {}
  std::string operator*() const { return p_->GetField(i_); }
  Iterator& operator++() {
    ++i_;
    return *this;
  }
  bool operator!=(const Iterator& o) const { return i_ != o.i_; }

 private:
  const ParseStr* p_;
  uint16_t i_;
};

// The enumerator the date routines walk fields with; it holds its own copy.
class TParseStrEnumerator {
 public:
  explicit TParseStrEnumerator(const ParseStr& aParseStr) : fParseStr(aParseStr) {}
  bool MoveNext();
  std::string GetCurrent() const { return fParseStr.GetField(static_cast<uint16_t>(fIndex)); }

 private:
  int32_t fIndex = 0;
  ParseStr fParseStr;
};

}  // namespace iex
