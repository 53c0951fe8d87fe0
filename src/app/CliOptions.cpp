#include "app/CliOptions.h"

#include <algorithm>
#include <map>

namespace iex {

const char* const kExportUsage =
    "usage: invoice-export export (--alias NAME | --database PATH) [--user NAME]\n"
    "                             (--password-env VAR | --password-file FILE)\n"
    "                             --output-dir DIR\n"
    "                             [--from-date TEXT] [--to-date TEXT] [--from-number N] [--to-number N]\n"
    "                             [--branch N] [--all]\n"
    "                             [--map-by category|type] [--itinerary category|vendor]\n"
    "                             [--category-letters TEN] [--travel-type-map TEXT] [--save-settings]\n"
    "                             [--summary-json FILE] [--allow-legacy-login]\n"
    "Without a password option the password is asked on the terminal. A plain local\n"
    "path is opened by the embedded engine, which does not check the password (the\n"
    "file's permissions guard it); host:/path goes to a server, which does.\n"
    "Both files are put in place together once the export is complete; a failed or\n"
    "stopped run (Ctrl-C, SIGTERM) leaves the previous files as they were.\n"
    "Exit status: 0 done, 1 the export failed or was stopped, 2 usage or validation error.\n"
    "--summary-json FILE writes what the run did as JSON (files, line counts, invoices\n"
    "covered, elapsed time, exit status, error), also when it fails.\n"
    "--allow-legacy-login lets a server that takes only the legacy login (Firebird 2.5)\n"
    "be reached; the password's hash then crosses the network in a form a false server\n"
    "can collect. With --alias and --save-settings it is kept for that alias.\n";

bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}

std::vector<std::string> SplitOptionValues(const std::vector<std::string>& args) {
  std::vector<std::string> words;
  for (const std::string& a : args) {
    const auto eq = a.find('=');
    if (a.rfind("--", 0) == 0 && eq != std::string::npos) {
      words.push_back(a.substr(0, eq));
      words.push_back(a.substr(eq + 1));
    } else {
      words.push_back(a);
    }
  }
  return words;
}

std::optional<std::string> SummaryFileOf(const std::vector<std::string>& args) {
  const std::vector<std::string> words = SplitOptionValues(args);
  std::optional<std::string> file;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] != "--summary-json") continue;
    if (file || i + 1 >= words.size() || words[i + 1].empty()) return std::nullopt;  // twice, or no value: not known
    file = words[++i];
  }
  return file;
}

TExportOptions ParseExportOptions(const std::vector<std::string>& given) {
  const std::vector<std::string> args = SplitOptionValues(given);
  TExportOptions o;
  std::map<std::string, std::string*> text = {
      {"--alias", &o.alias},           {"--database", &o.database},         {"--user", &o.user},
      {"--password-env", &o.passwordEnv}, {"--password-file", &o.passwordFile}, {"--output-dir", &o.outputDir},
      {"--from-date", &o.fromDate},    {"--to-date", &o.toDate},            {"--from-number", &o.fromNumber},
      {"--to-number", &o.toNumber},    {"--summary-json", &o.summaryJson}};
  std::map<std::string, std::optional<std::string>*> optional = {{"--branch", &o.branch},
                                                                 {"--map-by", &o.mapBy},
                                                                 {"--itinerary", &o.itinerary},
                                                                 {"--category-letters", &o.categoryLetters},
                                                                 {"--travel-type-map", &o.travelTypeMap}};
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    // "The last one wins" would let a stray word in a scheduled job change the export unseen.
    if (a.rfind("--", 0) == 0 && std::find(seen.begin(), seen.end(), a) != seen.end())
      throw TUsageError("Option " + a + " is given twice.");
    seen.push_back(a);
    if (a == "--all" || a == "--save-settings" || a == "--allow-legacy-login") {
      (a == "--all" ? o.all : a == "--save-settings" ? o.saveSettings : o.allowLegacyLogin) = true;
      const bool valued = std::find(given.begin(), given.end(), a) == given.end();
      if (valued) throw TUsageError("Option " + a + " takes no value.");
      continue;
    }
    const bool known = text.count(a) || optional.count(a);
    if (!known) throw TUsageError("Unknown option " + a + ".");
    if (i + 1 >= args.size()) throw TUsageError("Option " + a + " needs a value.");
    const std::string& value = args[++i];
    if (text.count(a))
      *text[a] = value;
    else
      *optional[a] = value;
  }
  if (o.alias.empty() == o.database.empty()) throw TUsageError("Name either --alias or --database.");
  if (!o.passwordEnv.empty() && !o.passwordFile.empty())
    throw TUsageError("Name at most one of --password-env and --password-file.");
  if (o.outputDir.empty()) throw TUsageError("Name the output folder with --output-dir.");
  if (o.user.empty()) throw TUsageError("The user name must not be empty.");
  if (o.mapBy && *o.mapBy != "category" && *o.mapBy != "type")
    throw TUsageError("--map-by takes category or type.");
  if (o.itinerary && *o.itinerary != "category" && *o.itinerary != "vendor")
    throw TUsageError("--itinerary takes category or vendor.");
  return o;
}

}  // namespace iex
