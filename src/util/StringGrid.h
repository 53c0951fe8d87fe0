#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace iex {

// Ordered (text, number) pairs: the branch list and the card lookup list.
using TStringIntList = std::vector<std::pair<std::string, int32_t>>;

// A grid of texts addressed by column and row that grows on write; cells
// never written read as empty. The travel-type grid is one.
class TStringGrid {
 public:
  std::string Cell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);
  int RowCount() const { return static_cast<int>(rows_.size()); }

 private:
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace iex
