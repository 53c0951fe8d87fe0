#pragma once
#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace iex::db {

// Rows of one window found by key: kept in the order they came (the
// statements give key order, and within a key the order that counts), so a
// key's rows are one run. Cleared for each window; the memory is kept.
template <typename Row>
class TKeyedRows {
 public:
  void Clear() {
    rows_.clear();
    sorted_ = true;
  }
  Row& Add(int32_t key) {
    if (!rows_.empty() && key < rows_.back().first) sorted_ = false;
    rows_.emplace_back(key, Row{});
    return rows_.back().second;
  }
  // Call once all rows are in: a key order other than ours (a text key, say) is mended.
  void Seal() {
    if (!sorted_) std::stable_sort(rows_.begin(), rows_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    sorted_ = true;
  }
  std::span<const std::pair<int32_t, Row>> All(int32_t key) const {
    const auto less = [](const auto& a, int32_t k) { return a.first < k; };
    const auto first = std::lower_bound(rows_.begin(), rows_.end(), key, less);
    auto last = first;
    while (last != rows_.end() && last->first == key) ++last;
    return {first, last};
  }
  // The first row of the key, which stands for it where a key should have one row.
  const Row* First(int32_t key) const {
    const auto all = All(key);
    return all.empty() ? nullptr : &all.front().second;
  }

 private:
  std::vector<std::pair<int32_t, Row>> rows_;
  bool sorted_ = true;
};

}  // namespace iex::db
