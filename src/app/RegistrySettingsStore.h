#pragma once
#include "app/SavedSettings.h"
#include "platform/Env.h"

namespace iex {

// The saved settings under HKEY_CURRENT_USER "\SOFTWARE\MOVRA\QVINVOICEEXPORT",
// every value a string.
class TRegistrySettingsStore : public TSettingsStore {
 public:
  // `createKeyOnLoad`: the window's first start makes the product key, as
  // the agency product's tools do; a scheduled run writes nothing it was not asked to.
  explicit TRegistrySettingsStore(const TPlatformPaths& paths, bool createKeyOnLoad = true)
      : paths_(paths), createKeyOnLoad_(createKeyOnLoad) {}
  using TSettingsStore::Load;
  TSavedSettings Load(std::string* error) override;
  void Save(const TSavedSettings& settings) override;

  static constexpr const char* kKey = "\\SOFTWARE\\MOVRA";
  static constexpr const char* kSubKey = "QVINVOICEEXPORT";

 private:
  void SaveValues(const TSavedSettings& settings);
  void ReadValues(TSavedSettings& settings);
  TPlatformPaths paths_;
  bool createKeyOnLoad_;
};

// The category-letter value names, indexed by travel category 1 to 10.
extern const char* const kCategoryLetterValues[11];

}  // namespace iex
