#include "app/SavedSettings.h"

#include "export/RevenueTypes.h"

namespace iex {

TSavedSettings TSavedSettings::Defaults() {
  TSavedSettings s;
  for (int c = 1; c <= 10; ++c) s.categoryLetters[static_cast<std::size_t>(c)] = GetDefaultRevenueType(c);
  return s;
}

}  // namespace iex
