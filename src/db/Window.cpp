#include "db/Window.h"

#include <algorithm>
#include <cstdio>

namespace iex::db {
namespace {

// A range is read whole: it may hold this many keys for each one wanted
// before naming the keys (or following the links) costs less.
constexpr int64_t kRangeSlack = 3;

}  // namespace

bool TWindow::Holds(int32_t key) const { return std::binary_search(keys.begin(), keys.end(), key); }

void TKeySet::Seal() {
  std::sort(keys_.begin(), keys_.end());
  keys_.erase(std::unique(keys_.begin(), keys_.end()), keys_.end());
}

TFetchWay TKeySet::Way(bool linksAllowed) const {
  const int64_t span = int64_t{keys_.back()} - keys_.front() + 1;
  if (span <= kRangeSlack * static_cast<int64_t>(keys_.size())) return TFetchWay::Range;
  if (keys_.size() <= TWindow::kMaxList || !linksAllowed) return TFetchWay::List;
  return TFetchWay::Links;
}

std::string ListParamName(std::size_t index) {
  char name[24];
  std::snprintf(name, sizeof name, "K%zu", index);
  return name;
}

std::string ListParams(std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += (i ? ", :" : ":") + ListParamName(i);
  return text;
}

}  // namespace iex::db
