#pragma once
#include <string>

namespace iex {

// From the named environment variable, from the first line of a file, or
// asked on the terminal without echo. Raises TUsageError when none can be had.
std::string ReadPassword(const std::string& envVar, const std::string& file);

}  // namespace iex
