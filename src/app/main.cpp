// invoice-export: the Invoice Export Utility. "export" runs an export without
// a window, for scheduled runs.
#include <cstdio>
#include <string>
#include <vector>

#include "app/Version.h"
#include "app/CliAliases.h"
#include "app/CliExport.h"
#include "app/CliRecover.h"
#include "app/RegistrySettingsStore.h"
#include "app/CliOptions.h"
#include "app/GuiMain.h"
#include "db/ClientLibrary.h"
#include "platform/Console.h"
#include "platform/Env.h"
#include "platform/StopSignals.h"

namespace {

const char* const kUsage =
#ifdef IEX_HAS_WINDOW
    "usage: invoice-export               open the window\n"
    "       invoice-export export ...    run an export without a window (see invoice-export export --help)\n"
#else
    "usage: invoice-export export ...    run an export (see invoice-export export --help)\n"
#endif
    "       invoice-export aliases       list the database aliases with their paths (see invoice-export aliases --help)\n"
    "       invoice-export recover --output-dir DIR   settle an export a crash interrupted, without exporting\n";

}  // namespace

int main(int argc, char** argv) {
  iex::PrepareConsole();
  std::vector<std::string> args = iex::CommandLineWords(argc, argv);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    std::fputs("       invoice-export --version     print the version\n", stdout);
    return 0;
  }
  if (!args.empty() && args[0] == "--version") {
    std::printf("invoice-export %s\n", IEX_VERSION);
    return 0;
  }
  iex::Env& env = iex::DefaultEnv();
  if (!args.empty() && args[0] == "export") {
    args.erase(args.begin());
    if (iex::AsksForHelp(args)) {
      std::fputs(iex::kExportUsage, stdout);
      return 0;
    }
    iex::TRegistrySettingsStore store(env.Paths(), false);
    const int status = iex::RunExportCommand(
        args, env, &store, [&](const std::string& alias) { return iex::ResolveAliasPath(env, alias); }, stdout, stderr);
    if (status == 0) iex::IgnoreStopSignalsUntilExit();  // the files are in place: nothing is left to stop
    iex::db::ShutdownClientLibrary();
    return status;
  }
  if (!args.empty() && args[0] == "aliases") {
    args.erase(args.begin());
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
      std::fputs(iex::kAliasesUsage, stdout);
      return 0;
    }
    return iex::RunAliasesCommand(args, env, stdout, stderr);
  }
  if (!args.empty() && args[0] == "recover") {
    args.erase(args.begin());
    if (iex::AsksForHelp(args)) {
      std::fputs(iex::kRecoverUsage, stdout);
      return 0;
    }
    return iex::RunRecoverCommand(args, env, stdout, stderr);
  }
#ifdef IEX_HAS_WINDOW
  if (args.empty()) {
    if (!iex::DisplayAvailable()) {
      std::fputs("invoice-export: no display for the window; run it on a desktop, or use the command line:\n", stderr);
      std::fputs(kUsage, stderr);
      return 2;
    }
    const int status = iex::RunWindow(argc, argv);
    iex::db::ShutdownClientLibrary();
    return status;
  }
#endif
  if (!args.empty()) std::fprintf(stderr, "invoice-export: unknown command \"%s\"\n", args[0].c_str());
  std::fputs(kUsage, stderr);
  return 2;
}
