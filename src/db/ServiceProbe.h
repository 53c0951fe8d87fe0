#pragma once
#include <string>

namespace iex::db {

// Attaches to the service manager of the server on this machine (local
// protocol) and asks for its version. Raises EDatabaseError when that fails.
std::string QueryLocalServerVersion(const std::string& user, const std::string& password);

}  // namespace iex::db
