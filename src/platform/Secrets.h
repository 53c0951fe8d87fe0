#pragma once
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

namespace iex {

// What the password file held, and a warning worth showing (empty when none).
struct TPasswordFileText {
  std::string firstLine;
  std::string warning;
};

// The first line of a password file of at most 64 KiB. Refuses (EMvError)
// anything that is not a regular file, so a FIFO without a writer cannot
// hang a scheduled run; warns when others may read the file.
TPasswordFileText ReadPasswordFile(const std::string& path);

// Asks on the controlling terminal without echo. The terminal gets its echo
// back on every way out, a signal included. Nothing when there is no terminal.
std::optional<std::string> AskOnTerminal(const std::string& prompt);

// Overwrites the text's bytes before it goes.
void Wipe(std::string& secret) noexcept;
// Overwrites memory that held a secret (a key, its schedule); never left out by the optimiser.
void WipeBytes(void* bytes, std::size_t size) noexcept;

// Keeps the process out of core dumps and debuggers' reach while a password
// is in memory, for the object's lifetime.
class TNoCoreDumps {
 public:
  TNoCoreDumps() noexcept;
  ~TNoCoreDumps();
  TNoCoreDumps(const TNoCoreDumps&) = delete;
  TNoCoreDumps& operator=(const TNoCoreDumps&) = delete;

 private:
  int previous_;
};

bool IsTerminal(std::FILE* f) noexcept;

}  // namespace iex
