#include "app/CliRecover.h"

#include "export/OutputFolder.h"
#include "export/OutputTransaction.h"
#include "platform/AnsiText.h"
#include "platform/Error.h"

namespace iex {

const char* const kRecoverUsage =
    "usage: invoice-export recover --output-dir DIR\n"
    "Settles an export into DIR that was interrupted while its two files went in place\n"
    "(a crash, a power loss), as the next export would: afterwards the folder holds\n"
    "the pair before that export or the pair it wrote, never one of each. Nothing is\n"
    "exported. Exit status: 0 a whole pair, 1 it could not be settled (the message says\n"
    "what was found and which copies are kept), 2 usage error.\n";

int RunRecoverCommand(const std::vector<std::string>& args, const Env& env, std::FILE* out, std::FILE* err) {
  std::string folder;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--output-dir" && i + 1 < args.size() && folder.empty()) {
      folder = args[++i];
    } else if (args[i].rfind("--output-dir=", 0) == 0 && folder.empty()) {
      folder = args[i].substr(13);
    } else {
      std::fprintf(err, "invoice-export: recover takes --output-dir DIR and nothing else (%s)\n%s", args[i].c_str(),
                   kRecoverUsage);
      return 2;
    }
  }
  if (folder.empty()) {
    std::fprintf(err, "invoice-export: name the folder with --output-dir.\n%s", kRecoverUsage);
    return 2;
  }
  if (const std::string problem = OutputFolderProblem(env.Files(), folder); !problem.empty()) {
    std::fprintf(err, "invoice-export: %s\n", problem.c_str());
    return 2;
  }
  try {
    // Taking the folder settles what an interrupted commit left, under its lock.
    const TOutputTransaction settled(env.Files(), folder);
    const std::string& note = settled.RecoveryNote();
    std::fprintf(out, "%s\n", note.empty() ? ("No export into " + ShownPath(folder) + " was interrupted: nothing to settle.").c_str()
                                           : note.c_str());
    return 0;
  } catch (const EMvError& e) {
    std::fprintf(err, "invoice-export: %s\n", e.what());
    return 1;
  }
}

}  // namespace iex
