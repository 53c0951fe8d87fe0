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

  static TSavedSettings Defaults();
};

// Where they are kept; the window and the command line share it.
class TSettingsStore {
 public:
  virtual ~TSettingsStore() = default;
  virtual TSavedSettings Load() = 0;
  virtual void Save(const TSavedSettings& settings) = 0;
};

}  // namespace iex
