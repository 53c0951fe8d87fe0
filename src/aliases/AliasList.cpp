#include "platform/Cp1252Case.h"
#include "aliases/AliasList.h"

#include "platform/AnsiText.h"

#include <algorithm>
#include <filesystem>

#include "platform/PathText.h"

#include "platform/Error.h"
#include "platform/Registry.h"

namespace iex {
TAliasList::TAliasList(bool UseFile, TAliasDBType AliasDBType, const TPlatformPaths& paths, TConfirmQuestion confirm)
    : DBType(AliasDBType), FIsFileBased(UseFile), FPaths(paths), FConfirm(std::move(confirm)) {}

TAliasRegistry TAliasList::Registry(bool global) const {
  TAliasRegistry reg(DBType, FPaths);
  reg.GlobalAliases = global;
  return reg;
}

const TAliasList::Entry& TAliasList::At(int i) const {
  if (i < 0 || i >= Count()) throw EMvError("List index out of bounds (" + std::to_string(i) + ")");
  return FList[static_cast<std::size_t>(i)];
}

void TAliasList::LoadRegistryAliases(TAliasRegistry& reg, std::vector<Entry>& into) {
  std::vector<std::string> names;
  reg.GetAliasNames(names);
  for (const auto& name : names) {
    auto e = std::make_unique<TExtAlias>();
    e->AliasName = name;
    e->Path = reg.AliasPath(name);
    e->Port = reg.AliasPort(name);
    e->IBEventsEnabled = reg.AliasIBEventsEnabled(name);
    e->IsGlobal = reg.GlobalAliases;
    into.emplace_back(name, std::move(e));
  }
}

void TAliasList::Warn(const std::string& text) {
  if (std::find(FWarnings.begin(), FWarnings.end(), text) == FWarnings.end()) FWarnings.push_back(text);
}

std::vector<std::string> TAliasList::TakeWarnings() {
  std::vector<std::string> fresh;
  for (const std::string& w : FWarnings)
    if (std::find(FReported.begin(), FReported.end(), w) == FReported.end()) {
      fresh.push_back(w);
      FReported.push_back(w);
    }
  return fresh;
}

bool TAliasList::SeedFile(bool global) {
  TAliasRegistry reg = Registry(global);
  std::vector<Entry> aliases;
  LoadRegistryAliases(reg, aliases);
  if (aliases.empty()) return false;
  std::sort(aliases.begin(), aliases.end(), [](const Entry& a, const Entry& b) { return NameLess(a.first, b.first); });
  std::vector<TExtAlias> records;
  for (const auto& [name, record] : aliases) records.push_back(*record);
  TAliasFile file = File(global);
  std::vector<std::string> skipped;
  const bool written = file.Seed(records, skipped);
  for (const std::string& name : skipped)
    Warn("The alias \"" + name + "\" of the registry cannot be stored in " + ShownPath(file.FileName()) +
         " (a blank at either end, \"=\", \"]\" or a line break); it is left out there. Rename it in the registry.");
  return written;
}

std::vector<TAliasList::Entry> TAliasList::SeedFilesFromRegistry() {
  std::vector<Entry> fromRegistry;
  FFromRegistry[0] = FFromRegistry[1] = false;
  for (bool global : {false, true}) {
    const std::string path = global ? GetGlobalAliasFilePath(FPaths, DBType) : GetLocalAliasFilePath(FPaths, DBType);
    std::error_code ec;
    if (std::filesystem::exists(PathOfText(path), ec)) continue;
    try {
      SeedFile(global);
    } catch (const std::exception& e) {
      // The list still shows this scope's aliases, read from the registry.
      Warn(std::string(e.what()) + ". The aliases " + (global ? "of all users" : "of this user") +
           " are shown from the registry. " +
           (global ? "Ask an administrator to run \"invoice-export aliases --seed-global\", or set MOVRA_COMMON_APPDATA "
                     "to a folder you may write."
                   : "Check that the folder may be written."));
      try {
        TAliasRegistry reg = Registry(global);
        LoadRegistryAliases(reg, fromRegistry);
        FFromRegistry[global ? 1 : 0] = true;
      } catch (const std::exception& again) {
        Warn(again.what());
      }
    }
  }
  return fromRegistry;
}

void TAliasList::LoadFileAliases(bool global) {
  std::vector<Entry> aliases;
  File(global).GetAliases(aliases);
  for (auto& e : aliases) FList.push_back(std::move(e));
}

void TAliasList::SortList() {
  std::stable_sort(FList.begin(), FList.end(), [](const Entry& a, const Entry& b) { return NameLess(a.first, b.first); });
}

void TAliasList::RefreshList() {
  if (FIsFileBased) {
    std::vector<Entry> fromRegistry = SeedFilesFromRegistry();
    ClearList();
    std::error_code ec;
    std::filesystem::create_directories(PathOfText(GetLocalAliasFolder(FPaths)), ec);
    // What one store cannot give must not cost the other's aliases.
    for (bool global : {true, false}) {
      if (!UsesFile(global)) continue;
      try {
        LoadFileAliases(global);
      } catch (const std::exception& e) {
        Warn(e.what());
      }
    }
    for (auto& e : fromRegistry) FList.push_back(std::move(e));
  } else {
    ClearList();
    TAliasRegistry local = Registry(false);
    LoadRegistryAliases(local, FList);
    TAliasRegistry global = Registry(true);
    LoadRegistryAliases(global, FList);
  }
  SortList();
}

void TAliasList::GetAliasDisplayNames(std::vector<std::string>& L) {
  RefreshList();
  L.clear();
  for (int i = 0; i < Count(); ++i) {
    const std::string& name = FList[static_cast<std::size_t>(i)].first;
    const bool duplicate = (i > 0 && UpperCp1252(FList[static_cast<std::size_t>(i - 1)].first) == UpperCp1252(name)) ||
                           (i + 1 < Count() && UpperCp1252(FList[static_cast<std::size_t>(i + 1)].first) == UpperCp1252(name));
    if (!duplicate)
      L.push_back(name);
    else
      L.push_back(name + (FList[static_cast<std::size_t>(i)].second->IsGlobal ? " (global)" : " (local)"));
  }
}

int TAliasList::IndexOfAliasName(const std::string& AliasName) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextCp1252(FList[static_cast<std::size_t>(i)].first, AliasName)) return i;
  return -1;
}

std::string TAliasList::GetPathForAliasName(const std::string& AliasName) {
  const int i = IndexOfAliasName(AliasName);
  return i < 0 ? std::string() : AliasPath(i);
}

int TAliasList::IndexOfAliasNameGlobal(const std::string& AliasName, bool IsGlobal) const {
  for (int i = 0; i < Count(); ++i) {
    const TExtAlias& e = *FList[static_cast<std::size_t>(i)].second;
    if (e.IsGlobal == IsGlobal && UpperCp1252(e.AliasName) == UpperCp1252(AliasName)) return i;
  }
  return -1;
}

int TAliasList::IndexOfAliasDisplayName(const std::string& AliasDisplay) const {
  const int plain = IndexOfAliasName(AliasDisplay);
  if (plain >= 0) return plain;
  const auto g = AliasDisplay.find(" (global)");
  const auto l = AliasDisplay.find(" (local)");
  if (g == std::string::npos && l == std::string::npos) return -1;
  const bool global = g != std::string::npos;
  const std::string base = AliasDisplay.substr(0, global ? g : l);
  for (int i = 0; i < Count(); ++i)
    if (SameTextCp1252(FList[static_cast<std::size_t>(i)].first, base) && FList[static_cast<std::size_t>(i)].second->IsGlobal == global)
      return i;
  return -1;
}

int TAliasList::ResolveAliasName(const std::string& name, std::string& error) const {
  error.clear();
  std::string base = name;
  int scope = -1;  // -1 either, 0 local, 1 global
  for (const auto& [suffix, s] : {std::pair<const char*, int>{" (global)", 1}, {" (local)", 0}}) {
    const std::string tail = suffix;
    if (base.size() > tail.size() && base.compare(base.size() - tail.size(), tail.size(), tail) == 0) {
      bool exists = false;  // a name that truly ends so is taken as it is
      for (const Entry& e : FList) exists = exists || e.first == name;
      if (!exists) {
        base.resize(base.size() - tail.size());
        scope = s;
      }
    }
  }
  auto inScope = [&](const Entry& e) { return scope < 0 || e.second->IsGlobal == (scope == 1); };
  for (int i = 0; i < Count(); ++i) {
    const Entry& e = FList[static_cast<std::size_t>(i)];
    if (inScope(e) && e.first == base) return i;
  }
  int found = -1;
  std::vector<std::string> alike;
  for (int i = 0; i < Count(); ++i) {
    const Entry& e = FList[static_cast<std::size_t>(i)];
    if (!inScope(e) || !SameTextCp1252(e.first, base)) continue;
    if (found < 0) found = i;
    const std::string shown = e.first + (e.second->IsGlobal ? " (global)" : " (local)");
    if (std::find(alike.begin(), alike.end(), shown) == alike.end()) alike.push_back(shown);
  }
  if (alike.size() > 1) {
    error = "The alias name " + name + " fits several aliases:";
    for (const std::string& a : alike) error += " " + a + (a == alike.back() ? "." : ",");
    error += " Give the name exactly as it is written.";
    return -1;
  }
  if (found < 0) error = "There is no alias " + name + ".";
  return found;
}

std::string TAliasList::GetPathForAliasNameGlobal(const std::string& AliasName, bool IsGlobal) {
  const int i = IndexOfAliasNameGlobal(AliasName, IsGlobal);
  return i < 0 ? std::string() : AliasPath(i);
}

std::string TAliasList::GetPathForExtAlias(const TExtAlias& E) { return GetPathForAliasNameGlobal(E.AliasName, E.IsGlobal); }

bool TAliasList::AnyLocalAliasExist(const std::string& AliasName) {
  if (FIsFileBased) return File(false).AliasExists(AliasName);
  TRegistry reg(FPaths, TRegAccess::AllAccess);
  reg.RootKey = THKey::Users;
  std::vector<std::string> profiles;
  if (!reg.OpenKey("\\", false)) return false;
  reg.GetKeyNames(profiles);
  reg.CloseKey();
  for (const auto& profile : profiles) {
    const std::string key = "\\" + profile + "\\Software\\MOVRA\\ALIASES\\INTERBASE";
    if (!reg.KeyExists(key) || !reg.OpenKey(key, false)) continue;
    const bool found = reg.ValueExists(AliasName) || reg.HasSubKey(AliasName);
    reg.CloseKey();
    if (found) return true;
  }
  return false;
}

bool TAliasList::Remove(const std::string& N, bool G) {
  const int i = IndexOfAliasNameGlobal(N, G);
  if (i < 0) return false;
  bool regResult = false;
  try {
    TAliasRegistry reg = Registry(G);
    regResult = reg.DeleteAlias(N);
  } catch (const std::exception&) {
    regResult = false;
  }
  if (FIsFileBased) {
    File(G).DeleteByName(N);
    FList.erase(FList.begin() + IndexOfAliasNameGlobal(N, G));
    return true;
  }
  if (regResult) FList.erase(FList.begin() + i);
  return regResult;
}

void TAliasList::RemoveGlobal(const std::string& AliasName) { Remove(AliasName, true); }
void TAliasList::RemoveAllLocal(const std::string& AliasName) { Remove(AliasName, false); }
bool TAliasList::DeleteAlias(const std::string& Alias, bool IsGlobal) { return Remove(Alias, IsGlobal); }

bool TAliasList::AddAlias(bool IsGlobal, const std::string& Alias, const std::string& Path, int32_t Port, bool IBEventsEnabled) {
  if (FIsFileBased) CheckAliasName(Alias);
  bool regResult = false;
  try {
    if (IsGlobal)
      RemoveAllLocal(Alias);
    else
      RemoveGlobal(Alias);
    TAliasRegistry reg = Registry(IsGlobal);
    regResult = reg.AddAlias(Alias, Path, Port, IBEventsEnabled);
  } catch (const std::exception&) {
    regResult = false;
  }
  if (!FIsFileBased) return regResult;
  if (IsGlobal)
    RemoveAllLocal(Alias);
  else
    RemoveGlobal(Alias);
  return File(IsGlobal).AddAlias(Alias, Path, Port, IBEventsEnabled);
}

std::string TAliasList::AliasName(int i) const { return At(i).first; }
bool TAliasList::AliasIsGlobal(int i) const { return At(i).second->IsGlobal; }
const TExtAlias& TAliasList::Record(int i) const { return *At(i).second; }

std::string TAliasList::AliasPath(int i) {
  const Entry& e = At(i);
  if (UsesFile(e.second->IsGlobal)) return File(e.second->IsGlobal).GetAliasPath(e.first);
  return Registry(e.second->IsGlobal).AliasPath(e.first);
}

int32_t TAliasList::AliasPort(int i) {
  const Entry& e = At(i);
  if (UsesFile(e.second->IsGlobal)) return File(e.second->IsGlobal).GetAliasPort(e.first);
  return Registry(e.second->IsGlobal).AliasPort(e.first);
}

bool TAliasList::AliasIBEventsEnabled(int i) {
  const Entry& e = At(i);
  if (UsesFile(e.second->IsGlobal)) return File(e.second->IsGlobal).GetAliasIBEventsEnabled(e.first);
  return Registry(e.second->IsGlobal).AliasIBEventsEnabled(e.first);
}

namespace {

// The registry step of an edit: its errors, its refresh's included, are ignored.
template <typename Step>
void IgnoringErrors(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

template <typename RegistryStep, typename FileStep>
void TAliasList::WriteProperty(int i, RegistryStep registryStep, FileStep fileStep) {
  const std::string N = At(i).first;
  const bool G = At(i).second->IsGlobal;
  IgnoringErrors([&] {
    TAliasRegistry reg = Registry(G);
    registryStep(reg, N);
    RefreshList();
  });
  if (!FIsFileBased) return;
  TAliasFile file = File(G);
  fileStep(file, N);
  RefreshList();
}

void TAliasList::SetAliasPath(int i, const std::string& value) {
  WriteProperty(
      i, [&](TAliasRegistry& r, const std::string& n) { r.ModifyPath(n, value); },
      [&](TAliasFile& f, const std::string& n) { f.ModifyPath(n, value); });
}

void TAliasList::SetAliasPort(int i, int32_t value) {
  WriteProperty(
      i, [&](TAliasRegistry& r, const std::string& n) { r.ModifyPort(n, value); },
      [&](TAliasFile& f, const std::string& n) { f.ModifyPort(n, value); });
}

void TAliasList::SetAliasIBEventsEnabled(int i, bool value) {
  WriteProperty(
      i, [&](TAliasRegistry& r, const std::string& n) { r.ModifyIBEventsEnabled(n, value); },
      [&](TAliasFile& f, const std::string& n) { f.SetAliasIBEventsEnabled(n, value); });
}

bool TAliasList::RenameConfirmed(const std::string& S) {
  if (IndexOfAliasName(S) < 0) return true;
  const std::string question = "The alias \"" + S + "\" already exists! Save over existing alias?";
  return FConfirm && FConfirm(question);
}

void TAliasList::SetAliasName(int i, const std::string& S) {
  const std::string N = At(i).first;
  const bool G = At(i).second->IsGlobal;
  if (FIsFileBased) CheckAliasName(S);
  IgnoringErrors([&] {
    if (!RenameConfirmed(S)) return;
    if (G) RemoveAllLocal(N);
    Registry(G).ModifyAliasName(N, S);
    RefreshList();
  });
  if (!FIsFileBased) return;
  if (!RenameConfirmed(S)) return;
  if (G) RemoveAllLocal(N);
  File(G).RenameAlias(N, S);
  RefreshList();
}

void TAliasList::SetAliasIsGlobal(int i, bool B) {
  const std::string N = At(i).first;
  const bool G = At(i).second->IsGlobal;
  if (B != G) {
    if (FIsFileBased) {
      // The file store has no move: write the other file first, then leave the
      // first, so the alias is never in neither.
      TExtAlias e;
      if (File(G).GetAliasInfo(N, e)) {
        File(B).AddAlias(N, e.Path, e.Port, e.IBEventsEnabled);
        File(G).DeleteByName(N);
      }
      IgnoringErrors([&] {
        TAliasRegistry reg = Registry(G);
        if (reg.AliasExists(N)) G ? reg.MoveAliasLocal(N) : reg.MoveAliasGlobal(N);
      });
    } else {
      TAliasRegistry reg = Registry(G);
      if (G)
        reg.MoveAliasLocal(N);
      else
        reg.MoveAliasGlobal(N);
      if (B) RemoveAllLocal(N);
    }
  }
  RefreshList();
}

}  // namespace iex
