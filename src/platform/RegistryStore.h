#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Env.h"
#include "platform/RegHive.h"

namespace iex {

enum class THKey { CurrentUser, LocalMachine, Users };

// Where registry keys are kept: hive files, or the machine's own registry on
// Windows. Paths are below the root, normalised ("Software\MOVRA"); names
// and string data are 8-bit text.
class TRegistryStore {
 public:
  virtual ~TRegistryStore() = default;
  virtual bool KeyExists(THKey root, const std::string& path) = 0;
  // The key ready to be written, made first when `canCreate`; false when it
  // is missing or may not be written.
  virtual bool PrepareWrite(THKey root, const std::string& path, bool canCreate) = 0;
  virtual std::optional<TRegValue> Value(THKey root, const std::string& path, const std::string& name) = 0;
  virtual std::vector<std::string> ValueNames(THKey root, const std::string& path) = 0;
  virtual std::vector<std::string> SubKeyNames(THKey root, const std::string& path) = 0;
  // All in one step; false when the key cannot be written.
  virtual bool SetValues(THKey root, const std::string& path, const std::vector<TRegValue>& values) = 0;
  virtual bool DeleteValue(THKey root, const std::string& path, const std::string& name) = 0;
  virtual bool DeleteKey(THKey root, const std::string& path) = 0;  // with everything below it
  // False when `oldName` is missing or `newName` is taken.
  virtual bool RenameValue(THKey root, const std::string& path, const std::string& oldName, const std::string& newName) = 0;
  // Why the last write could not be prepared, in plain words; "" when not known.
  virtual std::string LastWriteFailure() const { return std::string(); }
};

// Hive files when the paths name them; otherwise the machine's registry,
// which only Windows has.
std::unique_ptr<TRegistryStore> OpenRegistryStore(const TPlatformPaths& paths);
std::unique_ptr<TRegistryStore> HiveRegistryStore(const TPlatformPaths& paths);
std::unique_ptr<TRegistryStore> MachineRegistryStore();  // null where there is none

}  // namespace iex
