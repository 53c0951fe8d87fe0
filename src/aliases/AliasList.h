#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "aliases/AliasFile.h"
#include "aliases/AliasRegistry.h"

namespace iex {

// Asks the user a Yes/No question; true for Yes.
using TConfirmQuestion = std::function<bool(const std::string& question)>;

// The aliases of both scopes of one database type, sorted by name. A
// file-based list reads the alias files (seeding a missing one from the
// registry); a registry-based list reads the registry.
class TAliasList {
 public:
  TAliasList(bool UseFile, TAliasDBType AliasDBType, const TPlatformPaths& paths, TConfirmQuestion confirm = nullptr);

  bool IsFileBased() const { return FIsFileBased; }
  TAliasDBType DBType = TAliasDBType::adtIB;
  int Count() const { return static_cast<int>(FList.size()); }

  void RefreshList();
  // Problems the refreshes met that the user should hear of (a store that
  // could not be seeded or read, a name left out), each once per list.
  std::vector<std::string> TakeWarnings();
  // Writes the file store of one scope from the registry when it has none;
  // raises when it cannot. Names left out are in TakeWarnings.
  bool SeedFile(bool global);
  void GetAliasDisplayNames(std::vector<std::string>& L);
  std::string GetPathForAliasName(const std::string& AliasName);

  int IndexOfAliasName(const std::string& AliasName) const;
  int IndexOfAliasNameGlobal(const std::string& AliasName, bool IsGlobal) const;
  int IndexOfAliasDisplayName(const std::string& AliasDisplay) const;
  // The alias a name the user gives means: that name exactly (in the scope
  // a " (global)" or " (local)" suffix names), else the one alias whose name
  // differs from it only in letter case. -1, with the reason in `error`,
  // when none fits or several fit alike: never a silent choice.
  int ResolveAliasName(const std::string& name, std::string& error) const;
  std::string GetPathForAliasNameGlobal(const std::string& AliasName, bool IsGlobal);
  std::string GetPathForExtAlias(const TExtAlias& E);
  bool AnyLocalAliasExist(const std::string& AliasName);
  bool AddAlias(bool IsGlobal, const std::string& Alias, const std::string& Path, int32_t Port, bool IBEventsEnabled);
  bool DeleteAlias(const std::string& Alias, bool IsGlobal);
  void RemoveGlobal(const std::string& AliasName);
  void RemoveAllLocal(const std::string& AliasName);

  // The indexed properties; reads of path, port and flag go to the store.
  std::string AliasName(int i) const;
  std::string AliasPath(int i);
  int32_t AliasPort(int i);
  bool AliasIBEventsEnabled(int i);
  bool AliasIsGlobal(int i) const;
  const TExtAlias& Record(int i) const;
  void SetAliasName(int i, const std::string& S);
  void SetAliasPath(int i, const std::string& value);
  void SetAliasPort(int i, int32_t value);
  void SetAliasIBEventsEnabled(int i, bool value);
  void SetAliasIsGlobal(int i, bool B);

 private:
  using Entry = std::pair<std::string, std::unique_ptr<TExtAlias>>;
  void ClearList() { FList.clear(); }
  // Seeds the missing files; the aliases of a scope whose file could not be
  // seeded come back, read from the registry, and mark that scope in FFromRegistry.
  std::vector<Entry> SeedFilesFromRegistry();
  void Warn(const std::string& text);
  void LoadRegistryAliases(TAliasRegistry& reg, std::vector<Entry>& into);
  void LoadFileAliases(bool global);
  void SortList();
  const Entry& At(int i) const;
  bool Remove(const std::string& N, bool G);
  bool RenameConfirmed(const std::string& S);
  // A property write: the registry step (errors ignored), then the file step.
  template <typename RegistryStep, typename FileStep>
  void WriteProperty(int i, RegistryStep registryStep, FileStep fileStep);
  TAliasRegistry Registry(bool global) const;
  TAliasFile File(bool global) const { return TAliasFile(global, DBType, FPaths); }

  bool FIsFileBased;
  std::vector<Entry> FList;
  TPlatformPaths FPaths;
  TConfirmQuestion FConfirm;
  std::vector<std::string> FWarnings, FReported;
  bool FFromRegistry[2] = {false, false};  // [global]: the file could not be seeded; the registry answers
  bool UsesFile(bool global) const { return FIsFileBased && !FFromRegistry[global ? 1 : 0]; }
};

}  // namespace iex
