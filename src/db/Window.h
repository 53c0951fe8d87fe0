#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace iex::db {

// The invoices (or profiles) one step of an export reads together: a run
// of keys dense enough to read as a range (rows of the range that were not
// selected are read and dropped), or a short list of scattered keys.
struct TWindow {
  static constexpr std::size_t kDefaultLimit = 1024;
  static constexpr std::size_t kMaxList = 32;  // keys one statement names

  std::size_t limit = kDefaultLimit;  // the most keys a window takes; at least kMaxList
  bool list = false;
  int32_t lo = 0, hi = 0;      // the range, both ends in it
  std::vector<int32_t> keys;   // sorted: the selected ones (also for a range)

  bool Holds(int32_t key) const;
};

// Cuts the next window from a stream of ascending keys: `peek` gives the
// key under the stream (none at its end), `take` moves past it, keeping
// its row. A repeated key (a table without its primary key) is taken but
// counted once. False when the stream has ended.
template <typename Peek, typename Take>
bool CutWindow(TWindow& w, Peek peek, Take take) {
  w.keys.clear();
  auto step = [&](int32_t key) {
    if (w.keys.empty() || key != w.keys.back()) w.keys.push_back(key);
    take();
  };
  std::optional<int32_t> key = peek();
  if (!key) return false;
  step(*key);
  // A range while the keys lie close together: at most three keys in the
  // range for each one wanted.
  while (w.keys.size() < w.limit && (key = peek()) &&
         int64_t{*key} - w.keys.front() + 1 <= 3 * static_cast<int64_t>(w.keys.size() + 1))
    step(*key);
  // Scattered keys go by name, as many as one statement names.
  w.list = w.keys.size() < TWindow::kMaxList;
  while (w.list && w.keys.size() < TWindow::kMaxList && (key = peek())) step(*key);
  w.lo = w.keys.front();
  w.hi = w.keys.back();
  return true;
}

// Sorted distinct keys and how to read the rows they name: as one range
// when they lie close together, by name when they are few, otherwise
// through the links of the window's invoices.
enum class TFetchWay { Range, List, Links };

class TKeySet {
 public:
  void Clear() { keys_.clear(); }
  void Add(int32_t key) { keys_.push_back(key); }
  void Seal();  // sorts and drops repeats
  const std::vector<int32_t>& Keys() const { return keys_; }
  bool Empty() const { return keys_.empty(); }
  TFetchWay Way(bool linksAllowed) const;

 private:
  std::vector<int32_t> keys_;
};

// ":K0, :K1, ..." for the keys of a list; SQL texts name them so.
std::string ListParams(std::size_t count);
std::string ListParamName(std::size_t index);

}  // namespace iex::db
