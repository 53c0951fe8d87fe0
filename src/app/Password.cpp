#include "app/Password.h"

#include "app/CliOptions.h"
#include "platform/Console.h"
#include "platform/Error.h"
#include "platform/Secrets.h"

namespace iex {

std::string ReadPassword(const std::string& envVar, const std::string& file, std::string& warning) {
  if (!envVar.empty()) {
    std::optional<std::string> value = EnvironmentValue(envVar);
    if (!value) throw TUsageError("The environment variable " + envVar + " is not set.");
    return std::move(*value);
  }
  if (!file.empty()) {
    try {
      TPasswordFileText text = ReadPasswordFile(file);
      warning = text.warning;
      return std::move(text.firstLine);
    } catch (const EMvError& e) {
      throw TUsageError(e.what());
    }
  }
  auto asked = AskOnTerminal("Password: ");
  if (!asked) throw TUsageError("No password: name --password-env or --password-file, or run on a terminal.");
  return std::move(*asked);
}

}  // namespace iex
