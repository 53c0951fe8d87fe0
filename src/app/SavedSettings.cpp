#include "app/SavedSettings.h"

#include <algorithm>

#include "export/RevenueTypes.h"
#include "platform/Cp1252Case.h"

namespace iex {

TSavedSettings TSavedSettings::Defaults() {
  TSavedSettings s;
  for (int c = 1; c <= 10; ++c) s.categoryLetters[static_cast<std::size_t>(c)] = GetDefaultRevenueType(c);
  return s;
}

bool LegacyLoginAllowed(const TSavedSettings& settings, const std::string& alias) {
  const std::string& list = settings.legacyLoginAliases;
  for (std::size_t start = 0; start <= list.size();) {
    const std::size_t end = std::min(list.find(';', start), list.size());
    if (!alias.empty() && SameTextCp1252(list.substr(start, end - start), alias)) return true;
    start = end + 1;
  }
  return false;
}

void AllowLegacyLogin(TSavedSettings& settings, const std::string& alias) {
  if (alias.empty() || LegacyLoginAllowed(settings, alias)) return;
  if (!settings.legacyLoginAliases.empty()) settings.legacyLoginAliases += ';';
  settings.legacyLoginAliases += alias;
}

}  // namespace iex
