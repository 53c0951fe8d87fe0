#pragma once
#include "util/StringGrid.h"

namespace iex {

// A holder of one list of lines, each with a number: the branch buffer.
class TOpStrings {
 public:
  TStringIntList& Lines() { return FLines; }
  const TStringIntList& Lines() const { return FLines; }
  void SetLines(const TStringIntList& lines) { FLines = lines; }

 private:
  TStringIntList FLines;
};

}  // namespace iex
