#pragma once
#include <string>

namespace iex {

// From the named environment variable, from the first line of a file, or
// asked on the terminal without echo. Raises TUsageError when none can be
// had; a warning about the file (readable by others) goes to `warning`.
std::string ReadPassword(const std::string& envVar, const std::string& file, std::string& warning);

}  // namespace iex
