#pragma once
#include <array>
#include <string>

namespace iex {

// The choices remembered between runs.
struct TSavedSettings {
  std::string alias;                              // "ZAMALIAS"
  std::array<std::string, 11> categoryLetters{};  // indexed 1 to 10
  std::string mapBy = "Travel Category";          // "MAPBY"
  std::string travelTypeMap;                      // "TRAVELTYPEMAP"
  int itinMap = 0;                                // "ITINPROVNAMEMAP"
  // The folder last chosen in the folder chooser, where it opens next time
  // ("OUTPUTDIR"; ANSI, as all values). The default folder, when it exists,
  // still takes the files without asking.
  std::string outputDir;
  // The aliases whose server may be reached with the legacy login
  // ("LEGACYLOGIN": names separated by ";"). Asked for each alias; SRP alone otherwise.
  std::string legacyLoginAliases;

  static TSavedSettings Defaults();
};

bool LegacyLoginAllowed(const TSavedSettings& settings, const std::string& alias);
void AllowLegacyLogin(TSavedSettings& settings, const std::string& alias);

// Where they are kept; the window and the command line share it.
class TSettingsStore {
 public:
  virtual ~TSettingsStore() = default;
  // Reads the values in their fixed order. A value that cannot be read ends
  // the reading: the values before it are kept, the rest keep their
  // defaults, and `error` (when given) tells which; without `error` it raises.
  virtual TSavedSettings Load(std::string* error) = 0;
  TSavedSettings Load() { return Load(nullptr); }
  virtual void Save(const TSavedSettings& settings) = 0;
};

}  // namespace iex
