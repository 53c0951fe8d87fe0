#include "app/RegistrySettingsStore.h"

#include "platform/Error.h"
#include "platform/Registry.h"

namespace iex {

const char* const kCategoryLetterValues[11] = {"",        "AIRMAP",  "HOTELMAP", "CARMAP",  "CRUISEMAP", "TOURMAP",
                                               "RAILMAP", "TRANSMAP", "INSMAP",  "SERVMAP", "OTHERMAP"};

namespace {

constexpr std::size_t kMaxSettingBytes = 64 * 1024;

// Whole numbers as the settings read them; anything else is 0.
int WholeNumber(const std::string& text) {
  std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (i == text.size() || text.size() - i > 9) return 0;
  for (std::size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') return 0;
  return std::stoi(text);
}

}  // namespace

TSavedSettings TRegistrySettingsStore::Load(std::string* error) {
  TSavedSettings s = TSavedSettings::Defaults();
  try {
    ReadValues(s);
  } catch (const EMvError& e) {
    if (!error) throw;
    *error = e.what();
  }
  return s;
}

void TRegistrySettingsStore::ReadValues(TSavedSettings& s) {
  TRegistry reg(paths_, TRegAccess::AllAccess);
  reg.RootKey = THKey::CurrentUser;
  // The product key is created on the first start; the subkey by the first save.
  if (createKeyOnLoad_) {
    reg.OpenKey(kKey, true);
    reg.CloseKey();
  }
  if (!reg.OpenKeyReadOnly(std::string(kKey) + "\\" + kSubKey)) return;
  auto read = [&](const char* name, std::string& into) {
    if (!reg.ValueExists(name)) return;
    std::string value = reg.ReadString(name);
    // No setting of this program is that long: a value this size is damage, or a trap.
    if (value.size() > kMaxSettingBytes)
      throw EMvError("The saved setting " + std::string(name) + " holds " + std::to_string(value.size()) +
                     " bytes, more than any setting of this program (64 KiB); it and the settings after it were not read.");
    into = std::move(value);
  };
  read("ZAMALIAS", s.alias);
  static const int kOrder[10] = {1, 3, 4, 2, 8, 6, 5, 7, 9, 10};  // AIR, CAR, CRUISE, HOTEL, INS, RAIL, TOUR, TRANS, SERV, OTHER
  for (int c : kOrder) read(kCategoryLetterValues[c], s.categoryLetters[static_cast<std::size_t>(c)]);
  read("TRAVELTYPEMAP", s.travelTypeMap);
  read("MAPBY", s.mapBy);
  if (reg.ValueExists("ITINPROVNAMEMAP")) s.itinMap = WholeNumber(reg.ReadString("ITINPROVNAMEMAP"));
  read("OUTPUTDIR", s.outputDir);
  read("LEGACYLOGIN", s.legacyLoginAliases);
}

void TRegistrySettingsStore::Save(const TSavedSettings& s) {
  try {
    SaveValues(s);
  } catch (const EMvError& e) {
    // The registry's text names the value; the user needs the file too.
    throw EMvError(std::string(e.what()) + ".\nThe settings file " + paths_.userHive + " cannot be written.");
  }
}

void TRegistrySettingsStore::SaveValues(const TSavedSettings& s) {
  TRegistry reg(paths_, TRegAccess::AllAccess);
  reg.RootKey = THKey::CurrentUser;
  if (!reg.OpenKey(std::string(kKey) + "\\" + kSubKey, true)) {
    const std::string why = reg.LastWriteFailure();
    throw EMvError("Failed to set data for 'ZAMALIAS'" + (why.empty() ? std::string() : ": " + why));
  }
  // One locked, atomic write: two runs saving at once never store a blend.
  std::vector<std::pair<std::string, std::string>> values{{"ZAMALIAS", s.alias}};
  static const int kOrder[10] = {1, 3, 4, 2, 8, 6, 5, 7, 9, 10};
  for (int c : kOrder) values.emplace_back(kCategoryLetterValues[c], s.categoryLetters[static_cast<std::size_t>(c)]);
  values.emplace_back("MAPBY", s.mapBy);
  values.emplace_back("TRAVELTYPEMAP", s.travelTypeMap);
  values.emplace_back("ITINPROVNAMEMAP", std::to_string(s.itinMap));
  if (!s.outputDir.empty()) values.emplace_back("OUTPUTDIR", s.outputDir);
  if (!s.legacyLoginAliases.empty()) values.emplace_back("LEGACYLOGIN", s.legacyLoginAliases);
  reg.WriteStrings(values);
}

}  // namespace iex
