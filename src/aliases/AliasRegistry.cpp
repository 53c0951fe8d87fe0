#include "aliases/AliasRegistry.h"

#include "platform/Error.h"

namespace iex {

std::string AliasKeyName(const std::string& aliasName) {
  std::string name = aliasName;
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

TRegistry TAliasRegistry::Open(TRegAccess access) const {
  TRegistry reg(paths_, access);
  reg.RootKey = GlobalAliases ? THKey::LocalMachine : THKey::CurrentUser;
  return reg;
}

std::string TAliasRegistry::GetAliasKeyPath() const {
  return FDBType == TAliasDBType::adtORACLE ? "\\Software\\MOVRA\\ALIASES\\ORACLE" : "\\Software\\MOVRA\\ALIASES\\INTERBASE";
}

std::string TAliasRegistry::SettingsKeyPath(const std::string& AliasName) const {
  return GetAliasKeyPath() + "\\" + AliasKeyName(AliasName);
}

void TAliasRegistry::GetAliasNames(std::vector<std::string>& L) {
  L.clear();
  TRegistry reg = Open(TRegAccess::Read);
  if (reg.KeyExists(GetAliasKeyPath()) && reg.OpenKey(GetAliasKeyPath(), false)) reg.GetValueNames(L);
  // The key's unnamed default value is no alias.
  std::erase(L, std::string());
}

int TAliasRegistry::AliasCount() {
  std::vector<std::string> names;
  GetAliasNames(names);
  return static_cast<int>(names.size());
}

bool TAliasRegistry::AliasExists(const std::string& AliasName) {
  TRegistry reg = Open(TRegAccess::Read);
  return reg.KeyExists(GetAliasKeyPath()) && reg.OpenKey(GetAliasKeyPath(), false) && reg.ValueExists(AliasName);
}

std::string TAliasRegistry::AliasPath(const std::string& AliasName) {
  TRegistry reg = Open(TRegAccess::Read);
  if (reg.KeyExists(GetAliasKeyPath()) && reg.OpenKey(GetAliasKeyPath(), false) && reg.ValueExists(AliasName))
    return reg.ReadString(AliasName);
  return std::string();
}

int32_t TAliasRegistry::AliasPort(const std::string& AliasName) {
  TRegistry reg = Open(TRegAccess::Read);
  const std::string key = SettingsKeyPath(AliasName);
  if (reg.KeyExists(key) && reg.OpenKey(key, false) && reg.ValueExists("Port")) return reg.ReadInteger("Port");
  return kDefaultAliasPort;
}

bool TAliasRegistry::AliasIBEventsEnabled(const std::string& AliasName) {
  TRegistry reg = Open(TRegAccess::Read);
  const std::string key = SettingsKeyPath(AliasName);
  if (reg.KeyExists(key) && reg.OpenKey(key, false) && reg.ValueExists("IBEventsEnabled"))
    return reg.ReadInteger("IBEventsEnabled") != 0;
  return true;
}

bool TAliasRegistry::AddAlias(const std::string& AliasName, const std::string& Path) {
  TRegistry reg = Open(TRegAccess::AllAccess);
  if (!reg.OpenKey(GetAliasKeyPath(), true)) return false;
  reg.WriteString(AliasName, Path);
  return true;
}

bool TAliasRegistry::AddAlias(const std::string& AliasName, const std::string& Path, int32_t Port, bool IBEventsEnabled) {
  TRegistry reg = Open(TRegAccess::AllAccess);
  if (!reg.OpenKey(GetAliasKeyPath(), true)) return false;
  reg.DeleteValue(AliasName);
  reg.WriteString(AliasName, Path);
  reg.CloseKey();
  if (reg.OpenKey(SettingsKeyPath(AliasName), true)) {
    reg.WriteInteger("Port", Port);
    reg.WriteInteger("IBEventsEnabled", IBEventsEnabled ? 1 : 0);
  }
  return true;
}

bool TAliasRegistry::ModifyPath(const std::string& AliasName, const std::string& NewPath) {
  TRegistry reg = Open(TRegAccess::AllAccess);
  if (!reg.KeyExists(GetAliasKeyPath()) || !reg.OpenKey(GetAliasKeyPath(), false)) return false;
  reg.WriteString(AliasName, NewPath);
  return true;
}

bool TAliasRegistry::ModifyPort(const std::string& AliasName, int32_t NewPort) {
  TRegistry reg = Open(TRegAccess::AllAccess);
  if (!reg.OpenKey(SettingsKeyPath(AliasName), true)) return false;
  reg.WriteInteger("Port", NewPort);
  return true;
}

bool TAliasRegistry::ModifyIBEventsEnabled(const std::string& AliasName, bool NewIBEventEnabled) {
  TRegistry reg = Open(TRegAccess::AllAccess);
  if (!reg.OpenKey(SettingsKeyPath(AliasName), true)) return false;
  reg.WriteInteger("IBEventsEnabled", NewIBEventEnabled ? 1 : 0);
  return true;
}

bool TAliasRegistry::ModifyAliasName(const std::string& OldName, const std::string& NewName) {
  TRegistry reg = Open(TRegAccess::AllAccess);
  if (!reg.KeyExists(GetAliasKeyPath()) || !reg.OpenKey(GetAliasKeyPath(), false)) return false;
  if (reg.ValueExists(OldName) && !reg.ValueExists(NewName)) reg.RenameValue(OldName, NewName);
  return true;
}

bool TAliasRegistry::DeleteAlias(const std::string& AliasName) {
  TRegistry reg = Open(TRegAccess::AllAccess);
  if (!reg.KeyExists(GetAliasKeyPath()) || !reg.OpenKey(GetAliasKeyPath(), false)) return false;
  reg.DeleteValue(AliasName);
  reg.DeleteKey(AliasName);
  if (AliasKeyName(AliasName) != AliasName) reg.DeleteKey(AliasKeyName(AliasName));
  return true;
}

void TAliasRegistry::MoveAlias(const std::string& Alias) {
  const std::string path = AliasPath(Alias);
  const int32_t port = AliasPort(Alias);
  const bool events = AliasIBEventsEnabled(Alias);
  GlobalAliases = !GlobalAliases;
  bool added = false;
  try {
    added = AddAlias(Alias, path, port, events);
  } catch (...) {
    GlobalAliases = !GlobalAliases;
    throw;
  }
  GlobalAliases = !GlobalAliases;
  if (!added) throw EMvError("Alias move failed");
  DeleteAlias(Alias);
}

void TAliasRegistry::MoveAliasGlobal(const std::string& AliasName) {
  if (GlobalAliases) throw EMvError(AliasName + " is already a global alias.");
  MoveAlias(AliasName);
}

void TAliasRegistry::MoveAliasLocal(const std::string& AliasName) {
  if (!GlobalAliases) throw EMvError(AliasName + " is already a local alias.");
  MoveAlias(AliasName);
}

}  // namespace iex
