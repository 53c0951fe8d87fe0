#pragma once
#include <string>

#include "db/DbError.h"

namespace iex::db {

// Where a connection string points: the server's host and port, empty host
// for a file this machine opens itself.
struct TEndpoint {
  std::string host;
  std::string port = "3050";
  std::string file;
};
TEndpoint ParseConnectionString(const std::string& connection);

// In plain words why attaching to `connection` failed: the line shown under
// "Unable to connect to database."; the engine's own text goes apart, as details.
std::string ConnectionFailureReason(const EDatabaseError& e, const std::string& connection);

// Whether the failure was the embedded engine's lock folder refusing this user.
bool IsLockFolderRefusal(const EDatabaseError& e);

// Plain words for an error of a connected database that the server's own
// text does not make clear (a missing table or column, a lost server), or
// empty. `connection` names the server in them.
std::string DatabaseErrorReason(const EDatabaseError& e, const std::string& connection = "");

// Why a run ended whose server stopped answering for `seconds`.
std::string SilentServerReason(const std::string& connection, int seconds);

// A path on this machine that is there but no file a database engine can
// open (a folder, a FIFO, a device): why, or "" when it is a file or absent.
std::string NotADatabaseFile(const std::string& connectionUtf8);

}  // namespace iex::db
