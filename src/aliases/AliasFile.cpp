#include "aliases/AliasFile.h"

#include <filesystem>

#include "platform/AsciiCase.h"
#include "platform/Error.h"
#include "platform/PathText.h"

namespace iex {
namespace {

constexpr const char* kIndex = "ALIASES";

// Port texts as the INI routines read integers: decimal, or "0x" hexadecimal.
int32_t ReadNumber(const std::string& text, int32_t def) {
  std::string t = text;
  int base = 10;
  if (t.size() >= 3 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    t = t.substr(2);
  }
  if (t.empty()) return def;
  std::size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (i == t.size()) return def;
  int64_t v = 0;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    const int d = (c >= '0' && c <= '9') ? c - '0' : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (base == 16 && c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
    if (d < 0) return def;
    v = v * base + d;
    if (v > 0xFFFFFFFFLL) return def;
  }
  if (t[0] == '-') v = -v;
  return static_cast<int32_t>(static_cast<uint32_t>(v));
}

}  // namespace

std::string GetLocalAliasFolder(const TPlatformPaths& paths) { return JoinPath(paths.userAppData, "Movra"); }
std::string GetGlobalAliasFolder(const TPlatformPaths& paths) {
  const std::string primary = JoinPath(paths.commonAppData, "Movra");
  if (paths.commonAppDataFallback.empty()) return primary;
  // An older install's file is used until the new folder holds one.
  std::error_code ec;
  const std::string fallback = JoinPath(paths.commonAppDataFallback, "Movra");
  auto holdsOne = [&](const std::string& folder) {
    return std::filesystem::exists(PathOfText(JoinPath(folder, "MOVRAALIAS.INI")), ec) ||
           std::filesystem::exists(PathOfText(JoinPath(folder, "MOVRAORACLEALIAS.INI")), ec);
  };
  const bool anyPrimary = holdsOne(primary);
  const bool anyFallback = holdsOne(fallback);
  return !anyPrimary && anyFallback ? fallback : primary;
}
std::string GetAliasFileName(TAliasDBType type) {
  return type == TAliasDBType::adtORACLE ? "MOVRAORACLEALIAS.INI" : "MOVRAALIAS.INI";
}
std::string GetLocalAliasFilePath(const TPlatformPaths& paths, TAliasDBType type) {
  return JoinPath(GetLocalAliasFolder(paths), GetAliasFileName(type));
}
std::string GetGlobalAliasFilePath(const TPlatformPaths& paths, TAliasDBType type) {
  return JoinPath(GetGlobalAliasFolder(paths), GetAliasFileName(type));
}

void CheckAliasName(const std::string& name) {
  if (name.empty() || UpperAscii(name) == kIndex || name.find_first_of("=]\r\n") != std::string::npos || name[0] == ';' ||
      name[0] == '[' || name.front() == ' ' || name.back() == ' ')
    throw EMvError("The alias name \"" + name +
                   "\" cannot be stored: it must not be empty or ALIASES, hold \"=\", \"]\" or a line break, "
                   "or begin with \";\".");
}

TAliasFile::TAliasFile(bool aIsGlobal, TAliasDBType aliasDBType, const TPlatformPaths& paths)
    : F(aIsGlobal ? GetGlobalAliasFilePath(paths, aliasDBType) : GetLocalAliasFilePath(paths, aliasDBType)),
      FIsGlobal(aIsGlobal),
      FDBType(aliasDBType) {
  std::error_code ec;
  std::filesystem::create_directories(PathOfText(aIsGlobal ? GetGlobalAliasFolder(paths) : GetLocalAliasFolder(paths)), ec);
}

bool TAliasFile::AliasExists(const std::string& AliasName) const { return F.ValueExists(kIndex, AliasName); }

bool TAliasFile::AddAlias(const std::string& AliasName, const std::string& Path, int32_t Port, bool IBEventsEnabled) {
  CheckAliasName(AliasName);
  F.WriteString(kIndex, AliasName, Path);
  F.WriteString(AliasName, "Port", std::to_string(Port));
  F.WriteString(AliasName, "IBEventsEnabled", IBEventsEnabled ? "1" : "0");
  return true;
}

bool TAliasFile::ModifyAlias(const std::string& TargetAliasName, const std::string& AliasName, const std::string& Path,
                             int32_t Port, bool IBEventsEnabled) {
  CheckAliasName(AliasName);
  DeleteByName(TargetAliasName);
  return AddAlias(AliasName, Path, Port, IBEventsEnabled);
}

bool TAliasFile::ModifyByName(const std::string& AliasName, const TExtAlias& E) {
  return ModifyAlias(AliasName, E.AliasName, E.Path, E.Port, E.IBEventsEnabled);
}

bool TAliasFile::RenameAlias(const std::string& OldAliasName, const std::string& NewAliasName) {
  TExtAlias e;
  if (!GetAliasInfo(OldAliasName, e)) return false;
  e.AliasName = NewAliasName;
  return ModifyByName(OldAliasName, e);
}

bool TAliasFile::DeleteByName(const std::string& AliasName) {
  F.DeleteKey(kIndex, AliasName);
  // The index section is every alias's; never erase it for a name that equals it.
  if (AliasName.empty()) return true;
  if (UpperAscii(AliasName) != kIndex) F.EraseSection(AliasName);
  return true;
}

std::string TAliasFile::GetAliasPath(const std::string& AliasName) const { return F.ReadString(kIndex, AliasName, ""); }

bool TAliasFile::ModifyPath(const std::string& AliasName, const std::string& NewPath) {
  CheckAliasName(AliasName);
  F.WriteString(kIndex, AliasName, NewPath);
  return true;
}

int32_t TAliasFile::GetAliasPort(const std::string& AliasName) const {
  return ReadNumber(F.ReadString(AliasName, "Port", ""), kDefaultAliasPort);
}

bool TAliasFile::ModifyPort(const std::string& AliasName, int32_t NewPort) {
  CheckAliasName(AliasName);
  F.WriteString(AliasName, "Port", std::to_string(NewPort));
  return true;
}

bool TAliasFile::GetAliasIBEventsEnabled(const std::string& AliasName) const {
  const std::string text = F.ReadString(AliasName, "IBEventsEnabled", "");
  const int32_t missing = 1;
  return ReadNumber(text, missing) != 0;
}

bool TAliasFile::SetAliasIBEventsEnabled(const std::string& AliasName, bool IBEventsEnabled) {
  CheckAliasName(AliasName);
  F.WriteString(AliasName, "IBEventsEnabled", IBEventsEnabled ? "1" : "0");
  return true;
}

bool TAliasFile::GetAliasInfo(const std::string& AliasName, TExtAlias& E) const {
  if (!AliasExists(AliasName)) return false;
  E.AliasName = AliasName;
  E.Path = GetAliasPath(AliasName);
  E.Port = GetAliasPort(AliasName);
  E.IBEventsEnabled = GetAliasIBEventsEnabled(AliasName);
  return true;
}

int TAliasFile::GetAliases(std::vector<std::pair<std::string, std::unique_ptr<TExtAlias>>>& L) const {
  L.clear();
  std::vector<std::string> names;
  F.ReadSection(kIndex, names);
  for (const auto& name : names) {
    auto e = std::make_unique<TExtAlias>();
    e->AliasName = name;
    e->Path = GetAliasPath(name);
    e->Port = GetAliasPort(name);
    e->IBEventsEnabled = GetAliasIBEventsEnabled(name);
    e->IsGlobal = FIsGlobal;
    L.emplace_back(name, std::move(e));
  }
  return static_cast<int>(L.size());
}

bool TAliasFile::Seed(const std::vector<TExtAlias>& aliases, std::vector<std::string>& skipped) {
  // The layout AddAlias gives, one alias after the other.
  std::string index = std::string("[") + kIndex + "]\r\n", sections;
  for (const TExtAlias& e : aliases) {
    try {
      CheckAliasName(e.AliasName);
    } catch (const EMvError&) {
      skipped.push_back(e.AliasName);
      continue;
    }
    index += e.AliasName + "=" + e.Path + "\r\n";
    sections += "\r\n[" + e.AliasName + "]\r\nPort=" + std::to_string(e.Port) +
                "\r\nIBEventsEnabled=" + (e.IBEventsEnabled ? "1" : "0") + "\r\n";
  }
  return F.CreateWhole(index + sections);
}

int TAliasFile::GetCount() const {
  std::vector<std::pair<std::string, std::unique_ptr<TExtAlias>>> L;
  return GetAliases(L);
}

}  // namespace iex
