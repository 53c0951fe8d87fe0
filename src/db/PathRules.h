#pragma once
#include <functional>
#include <string>

namespace iex::db {

enum class TConnectionType { ctLocal = 0, ctTCPIP = 1, ctNetBEUI = 2 };

// Recognises a server-qualified path: \\server\file (server:file), a path
// with a second ":" after the first, or server:/path on a system without
// drive letters. Sets server and file part and returns true for those.
bool SplitServerPath(std::string& path, std::string& serverName, std::string& filePart);

// Rewrites an alias path into the connection string the client library
// opens. localServerRunning is the local-server probe; it may be asked twice.
void AdjustDatabasePath(std::string& path, const std::function<bool()>& localServerRunning);

// For the path hint: NetBEUI for \\server\file, TCP/IP for every path the
// connection rules send to a server, local otherwise.
TConnectionType GetPathConnectionType(const std::string& path);

}  // namespace iex::db
