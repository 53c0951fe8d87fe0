#include <windows.h>
#include <shellapi.h>

#include "platform/Console.h"
#include "platform/WinText.h"

namespace iex {

std::vector<std::string> CommandLineWords(int, char**) {
  std::vector<std::string> words;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return words;
  for (int i = 1; i < count; ++i) words.push_back(win::Utf8OfWide(wide[i]));
  LocalFree(wide);
  return words;
}

void PrepareConsole() { SetConsoleOutputCP(CP_UTF8); }

bool DisplayAvailable() { return true; }

}  // namespace iex
