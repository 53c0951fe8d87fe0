#include "app/CliAliases.h"

#include <string>
#include <vector>

#include "aliases/AliasList.h"
#include "db/PathRules.h"
#include "platform/AnsiText.h"
#include "platform/Error.h"

namespace iex {

const char* const kAliasesUsage =
    "usage: invoice-export aliases                 list the database aliases with their paths\n"
    "       invoice-export aliases --seed-global   write the all-users alias file from the registry (administrators)\n";

static const char* ConnectionTypeText(db::TConnectionType type) {
  switch (type) {
    case db::TConnectionType::ctTCPIP: return "TCP/IP";
    case db::TConnectionType::ctNetBEUI: return "NetBEUI";
    default: return "Local";
  }
}

int RunAliasesCommand(const std::vector<std::string>& args, const Env& env, std::FILE* out, std::FILE* err) {
  const bool seedGlobal = args.size() == 1 && args[0] == "--seed-global";
  if (!args.empty() && !seedGlobal) {
    std::fprintf(err, "invoice-export: aliases takes no word but --seed-global, not \"%s\".\n%s", args[0].c_str(),
                 kAliasesUsage);
    return 2;
  }
  try {
    TAliasList list(true, TAliasDBType::adtIB, env.Paths(), [](const std::string&) { return false; });
    if (seedGlobal) {
      const std::string file = GetGlobalAliasFilePath(env.Paths(), TAliasDBType::adtIB);
      const bool written = list.SeedFile(true);
      for (const std::string& w : list.TakeWarnings()) std::fprintf(err, "%s\n", AnsiToUtf8(w).c_str());
      std::fprintf(out, "%s %s\n", file.c_str(),  // a path: UTF-8 already
                   written ? "now holds the aliases of all users from the registry."
                           : "was left as it is: it exists already, or the registry holds no aliases of all users.");
      return 0;
    }
    std::vector<std::string> lines;
    list.GetAliasDisplayNames(lines);
    for (const std::string& w : list.TakeWarnings()) std::fprintf(err, "Warning: %s\n", AnsiToUtf8(w).c_str());
    if (lines.empty()) std::fprintf(out, "No aliases. Add them to %s or the registry.\n",
                                    GetLocalAliasFilePath(env.Paths(), TAliasDBType::adtIB).c_str());
    // Display lines stand in the list's order, one per alias.
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
      const std::string& line = lines[static_cast<std::size_t>(i)];
      const std::string path = list.AliasPath(i);
      std::fprintf(out, "%s\t%s\t(%s)\n", AnsiToUtf8(line).c_str(), AnsiToUtf8(path).c_str(),
                   ConnectionTypeText(db::GetPathConnectionType(path)));
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(err, "%s\n", AnsiToUtf8(e.what()).c_str());
    return 1;
  }
}

std::string ResolveAliasPath(const Env& env, const std::string& aliasName) {
  TAliasList list(true, TAliasDBType::adtIB, env.Paths(), [](const std::string&) { return false; });
  list.RefreshList();
  std::string error;
  const int i = list.ResolveAliasName(aliasName, error);
  // Several names alike are the user's to settle.
  if (i < 0 && error.find("fits several") != std::string::npos) throw EMvError(error);
  if (i < 0) {
    // On a command line no list is in view: name the ones there are.
    std::vector<std::string> names;
    list.GetAliasDisplayNames(names);
    std::string known;
    for (const std::string& name : names) known += (known.empty() ? "" : ", ") + name;
    throw EMvError("No database alias is named \"" + aliasName + "\". " +
                   (known.empty() ? std::string("No aliases are known here; name the database with --database.")
                                  : "The aliases known here: " + known + "."));
  }
  return list.AliasPath(i);
}

}  // namespace iex
