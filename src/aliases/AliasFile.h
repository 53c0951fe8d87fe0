#pragma once
#include <memory>
#include <string>
#include <vector>

#include "aliases/AliasRegistry.h"
#include "platform/IniFile.h"

namespace iex {

// Where the alias files live: "Movra" below the application-data folders.
std::string GetLocalAliasFolder(const TPlatformPaths& paths);
std::string GetGlobalAliasFolder(const TPlatformPaths& paths);
std::string GetAliasFileName(TAliasDBType type);
std::string GetLocalAliasFilePath(const TPlatformPaths& paths, TAliasDBType type);
std::string GetGlobalAliasFilePath(const TPlatformPaths& paths, TAliasDBType type);

// Names the INI layout cannot hold; raises with a clear message.
void CheckAliasName(const std::string& aliasName);

// The aliases of one scope and type in their INI file: the index section
// "ALIASES" (name = path) and one section per alias with Port and
// IBEventsEnabled.
class TAliasFile {
 public:
  TAliasFile(bool aIsGlobal, TAliasDBType aliasDBType, const TPlatformPaths& paths);

  TAliasDBType DBType() const { return FDBType; }
  const std::string& FileName() const { return F.FileName(); }

  bool AliasExists(const std::string& AliasName) const;
  bool AddAlias(const std::string& AliasName, const std::string& Path, int32_t Port, bool IBEventsEnabled);
  bool Add(const TExtAlias& E) { return AddAlias(E.AliasName, E.Path, E.Port, E.IBEventsEnabled); }
  bool ModifyAlias(const std::string& TargetAliasName, const std::string& AliasName, const std::string& Path, int32_t Port,
                   bool IBEventsEnabled);
  bool ModifyByName(const std::string& AliasName, const TExtAlias& E);
  bool RenameAlias(const std::string& OldAliasName, const std::string& NewAliasName);
  bool DeleteByName(const std::string& AliasName);
  std::string GetAliasPath(const std::string& AliasName) const;
  bool ModifyPath(const std::string& AliasName, const std::string& NewPath);
  int32_t GetAliasPort(const std::string& AliasName) const;
  bool ModifyPort(const std::string& AliasName, int32_t NewPort);
  bool GetAliasIBEventsEnabled(const std::string& AliasName) const;
  bool SetAliasIBEventsEnabled(const std::string& AliasName, bool IBEventsEnabled);
  bool GetAliasInfo(const std::string& AliasName, TExtAlias& E) const;
  // The records belong to the caller.
  int GetAliases(std::vector<std::pair<std::string, std::unique_ptr<TExtAlias>>>& L) const;
  int GetCount() const;
  // Writes a missing file with these aliases in one step (all or nothing);
  // a name the file cannot hold is left out and named in `skipped`. False
  // when the file exists already. Raises when it cannot be written.
  bool Seed(const std::vector<TExtAlias>& aliases, std::vector<std::string>& skipped);

 private:
  TIniFile F;
  bool FIsGlobal;
  TAliasDBType FDBType;
};

}  // namespace iex
