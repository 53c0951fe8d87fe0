#include <clocale>
#include <cstdlib>

#include "platform/Console.h"

namespace iex {

std::vector<std::string> CommandLineWords(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

void PrepareConsole() { UseUtf8FileNames(); }

void UseUtf8FileNames() {
  if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "C.utf8");
}

bool DisplayAvailable() {
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

std::string EngineLockFolder() {
  const char* set = std::getenv("FIREBIRD_LOCK");
  std::string folder = set && *set ? set : "/tmp/firebird";
  if (folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace iex
