#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Env.h"
#include "platform/Registry.h"

namespace iex {

enum class TAliasDBType { adtIB = 0, adtORACLE = 1 };

// One database alias as a store holds it.
struct TExtAlias {
  std::string AliasName;
  std::string Path;
  int32_t Port = 0;
  bool IBEventsEnabled = false;
  bool IsGlobal = false;
};

constexpr int32_t kDefaultAliasPort = 8090;

// A subkey name for an alias: "\" separates key names, so it becomes "/".
std::string AliasKeyName(const std::string& aliasName);

// The aliases of one database type in the registry: the current user's
// (local) or the machine's (global), as GlobalAliases says at each call.
class TAliasRegistry {
 public:
  TAliasRegistry(TAliasDBType aliasDBType, const TPlatformPaths& paths) : FDBType(aliasDBType), paths_(paths) {}

  TAliasDBType DBType() const { return FDBType; }
  bool GlobalAliases = false;

  void GetAliasNames(std::vector<std::string>& L);
  int AliasCount();
  bool AliasExists(const std::string& AliasName);
  std::string AliasPath(const std::string& AliasName);
  int32_t AliasPort(const std::string& AliasName);
  bool AliasIBEventsEnabled(const std::string& AliasName);
  void SetAliasPath(const std::string& AliasName, const std::string& value) { ModifyPath(AliasName, value); }
  void SetAliasPort(const std::string& AliasName, int32_t value) { ModifyPort(AliasName, value); }
  void SetAliasIBEventsEnabled(const std::string& AliasName, bool value) { ModifyIBEventsEnabled(AliasName, value); }

  bool AddAlias(const std::string& AliasName, const std::string& Path);
  bool AddAlias(const std::string& AliasName, const std::string& Path, int32_t Port, bool IBEventsEnabled);
  bool ModifyPath(const std::string& AliasName, const std::string& NewPath);
  bool ModifyPort(const std::string& AliasName, int32_t NewPort);
  bool ModifyIBEventsEnabled(const std::string& AliasName, bool NewIBEventEnabled);
  bool ModifyAliasName(const std::string& OldName, const std::string& NewName);
  bool DeleteAlias(const std::string& AliasName);
  void MoveAliasGlobal(const std::string& AliasName);
  void MoveAliasLocal(const std::string& AliasName);

 private:
  TRegistry Open(TRegAccess access) const;
  std::string GetAliasKeyPath() const;
  std::string SettingsKeyPath(const std::string& AliasName) const;
  void MoveAlias(const std::string& Alias);

  TAliasDBType FDBType;
  TPlatformPaths paths_;
};

}  // namespace iex
