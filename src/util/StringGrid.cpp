#include "util/StringGrid.h"

namespace iex {

std::string TStringGrid::Cell(int col, int row) const {
  if (row < 0 || col < 0 || row >= RowCount()) return std::string();
  const auto& cells = rows_[static_cast<std::size_t>(row)];
  return static_cast<std::size_t>(col) < cells.size() ? cells[static_cast<std::size_t>(col)] : std::string();
}

void TStringGrid::SetCell(int col, int row, const std::string& text) {
  if (row < 0 || col < 0) return;
  if (row >= RowCount()) rows_.resize(static_cast<std::size_t>(row) + 1);
  auto& cells = rows_[static_cast<std::size_t>(row)];
  if (static_cast<std::size_t>(col) >= cells.size()) cells.resize(static_cast<std::size_t>(col) + 1);
  cells[static_cast<std::size_t>(col)] = text;
}

}  // namespace iex
