#include "db/PathRules.h"

#include "util/CharTests.h"
#include "util/NumberText.h"

namespace iex::db {
namespace {

constexpr std::size_t kMaxFilePart = 255;

// server:/path (or server/port:/path), where the server name is more than a
// drive letter and holds no other separator: the remote form where paths
// have no drive letters.
bool IsServerColonPath(const std::string& path) {
  const auto colon = path.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  if (path.find(':', colon + 1) != std::string::npos) return false;
  const std::string server = path.substr(0, colon);
  if (server.find('\\') != std::string::npos) return false;
  // host/port: the client library's own form for a server on another port.
  const auto slash = server.find('/');
  if (slash == std::string::npos) return true;
  const std::string port = server.substr(slash + 1);
  return slash > 0 && !port.empty() && port.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

bool SplitServerPath(std::string& path, std::string& serverName, std::string& filePart) {
  if (!path.empty() && path[0] == '\\') {
    const std::string rest = path.size() > 2 ? path.substr(2) : std::string();
    const auto slash = rest.find('\\');
    if (slash == std::string::npos) {
      serverName.clear();
      filePart = rest.substr(0, kMaxFilePart);
    } else {
      serverName = rest.substr(0, slash);
      filePart = rest.substr(slash + 1, kMaxFilePart);
    }
    path = serverName + ":" + filePart;
    return true;
  }
  const auto colon = path.find(':');
  if (colon == std::string::npos) return false;
  const std::string after = path.substr(colon + 1, kMaxFilePart);
  if (after.find(':') != std::string::npos || IsServerColonPath(path)) {
    serverName = path.substr(0, colon);
    filePart = path.substr(colon + 1);
    return true;
  }
  return false;
}

void AdjustDatabasePath(std::string& path, const std::function<bool()>& localServerRunning) {
  const bool unc = !path.empty() && path[0] == '\\';
  std::string server, file;
  if (SplitServerPath(path, server, file)) {
    // The probe changes nothing here; it is asked as the local form asks it.
    if (!unc && UpperAscii(server) == "LOCALHOST" && localServerRunning()) localServerRunning();
    return;
  }
  if (!localServerRunning()) {
    path = "localhost:" + path;
    return;
  }
  if (!localServerRunning() && UpperAscii(path).rfind("LOCALHOST:", 0) != 0) path = "localhost:" + path;
}

TConnectionType GetPathConnectionType(const std::string& path) {
  if (path.rfind("\\\\", 0) == 0) return TConnectionType::ctNetBEUI;
  // What the connection rules send to a server (host:/path too) is TCP/IP.
  std::string copy = path, server, file;
  if (SplitServerPath(copy, server, file)) return TConnectionType::ctTCPIP;
  if (CountChar(':', path) + CountChar('!', path) >= 2) return TConnectionType::ctTCPIP;
  return TConnectionType::ctLocal;
}

}  // namespace iex::db
