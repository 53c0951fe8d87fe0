#include "app/CliAliases.h"

#include <string>
#include <vector>

#include "aliases/AliasList.h"
#include "db/PathRules.h"
#include "platform/Codepage1252.h"

namespace iex {

static const char* ConnectionTypeText(db::TConnectionType type) {
  switch (type) {
    case db::TConnectionType::ctTCPIP: return "TCP/IP";
    case db::TConnectionType::ctNetBEUI: return "NetBEUI";
    default: return "Local";
  }
}

int RunAliasesCommand(const Env& env, std::FILE* out, std::FILE* err) {
  try {
    TAliasList list(true, TAliasDBType::adtIB, env.Paths(), [](const std::string&) { return false; });
    std::vector<std::string> lines;
    list.GetAliasDisplayNames(lines);
    if (lines.empty()) std::fprintf(out, "No aliases. Add them to %s or the registry.\n",
                                    GetLocalAliasFilePath(env.Paths(), TAliasDBType::adtIB).c_str());
    for (const std::string& line : lines) {
      const std::string path = list.GetPathForAliasName(line);
      std::fprintf(out, "%s\t%s\t(%s)\n", Cp1252ToUtf8(line).c_str(), Cp1252ToUtf8(path).c_str(),
                   ConnectionTypeText(db::GetPathConnectionType(path)));
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(err, "%s\n", Cp1252ToUtf8(e.what()).c_str());
    return 1;
  }
}

std::string ResolveAliasPath(const Env& env, const std::string& aliasName) {
  TAliasList list(true, TAliasDBType::adtIB, env.Paths(), [](const std::string&) { return false; });
  list.RefreshList();
  return list.GetPathForAliasName(aliasName);
}

}  // namespace iex
