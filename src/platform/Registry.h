#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Env.h"
#include "platform/RegistryStore.h"

namespace iex {

// The access a key is opened with, numbered as the registry numbers them.
enum class TRegAccess : uint32_t { Read = 0x20019, AllAccess = 0xF003F };

// The registry as the program knows it from Windows: the machine's own there,
// hive files (see RegistryStore.h) elsewhere and wherever the paths name them.
class TRegistry {
 public:
  explicit TRegistry(const TPlatformPaths& paths, TRegAccess access = TRegAccess::AllAccess)
      : store_(OpenRegistryStore(paths)), Access(access) {}

  THKey RootKey = THKey::CurrentUser;

  // Key names are absolute when they begin with "\", otherwise below the open key.
  bool KeyExists(const std::string& key);
  // False when the key is missing (and not to be created) or cannot be
  // written while write access is asked.
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
  // Why the last key opened for writing could not be, in plain words; "" when not known.
  std::string LastWriteFailure() const { return store_->LastWriteFailure(); }

 private:
  struct OpenedKey {
    THKey root;
    std::string path;  // absolute, normalised
    bool writable;
  };
  std::string Absolute(const std::string& key) const;
  std::optional<TRegValue> LookUp(const std::string& name);  // one look-up in the store
  TRegValue ReadValue(const std::string& name);
  void WriteValue(const std::string& name, uint32_t type, const std::string& data);
  void WriteValues(const std::vector<TRegValue>& values);

  std::unique_ptr<TRegistryStore> store_;
  std::optional<OpenedKey> current_;

 public:
  TRegAccess Access;
};

}  // namespace iex
