#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Env.h"
#include "platform/RegHive.h"

namespace iex {

enum class THKey { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS };

constexpr uint32_t KEY_READ = 0x20019;
constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

// The registry as the program knows it from Windows, kept in text files in
// the registry export format: one file per hive. Every call reads the file
// afresh; every change rewrites it under a lock, so other programs' changes
// are seen and none are lost.
class TRegistry {
 public:
  explicit TRegistry(TPlatformPaths paths, uint32_t access = KEY_ALL_ACCESS) : paths_(std::move(paths)), Access(access) {}

  THKey RootKey = THKey::HKEY_CURRENT_USER;

  // Key names are absolute when they begin with "\", otherwise below the open key.
  bool KeyExists(const std::string& key);
  // False when the key is missing (and not to be created) or the hive cannot
  // be written while write access is asked.
  bool OpenKey(const std::string& key, bool canCreate);
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey() { current_.reset(); }
  const std::string& CurrentPath() const;

  bool ValueExists(const std::string& name);
  bool HasSubKey(const std::string& name) { return KeyExists(name); }
  std::optional<TRegDataType> GetDataType(const std::string& name);
  std::string ReadString(const std::string& name);  // "Invalid data type for '%s'"
  int32_t ReadInteger(const std::string& name);     // also "Failed to get data for '%s'"
  void WriteString(const std::string& name, const std::string& value);  // "Failed to set data for '%s'"
  void WriteExpandString(const std::string& name, const std::string& value);
  void WriteInteger(const std::string& name, int32_t value);
  // Several string values of the open key in one locked, atomic rewrite.
  void WriteStrings(const std::vector<std::pair<std::string, std::string>>& values);
  bool DeleteValue(const std::string& name);
  bool DeleteKey(const std::string& key);  // with everything below it
  void RenameValue(const std::string& oldName, const std::string& newName);
  void GetValueNames(std::vector<std::string>& names);
  void GetKeyNames(std::vector<std::string>& names);

 private:
  struct Location {
    std::string file, root, path;  // hive file, its root name, key path inside it
    bool exists = true;            // false for a profile HKEY_USERS does not hold
  };
  struct OpenedKey {
    THKey root;
    std::string path;  // absolute, normalised
    bool writable;
  };
  Location Locate(THKey root, const std::string& absolute) const;
  std::string Absolute(const std::string& key) const;
  // The hive as the file holds it now; parsed again only when the file changed.
  std::shared_ptr<const THive> Load(const Location& at) const;
  TRegValue ReadValue(const std::string& name);
  void WriteValue(const std::string& name, uint32_t type, const std::string& data);
  void WriteValues(const std::vector<TRegValue>& values);  // one locked rewrite
  template <typename Change>
  bool Modify(const Location& at, Change change);

  TPlatformPaths paths_;
  std::optional<OpenedKey> current_;


 public:
  uint32_t Access;
};

}  // namespace iex
