#include "db/ErrorReasons.h"

#include <ibase.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/AnsiText.h"
#include "platform/Console.h"
#include "platform/PathText.h"

namespace iex::db {

namespace {

std::string UpperHost(std::string host) {
  for (char& c : host)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return host;
}

// The engine's words for an on-disk structure it does not read: "...;
// found 11.0, support 12.2".
std::string OlderFileReason(const std::string& words, const std::string& file) {
  std::string found;
  const auto at = words.find("found ");
  if (at != std::string::npos)
    for (std::size_t i = at + 6; i < words.size() && (std::isdigit(static_cast<unsigned char>(words[i])) || words[i] == '.'); ++i)
      found += words[i];
  if (!found.empty() && std::atoi(found.c_str()) > 12)
    return "The database file was made by a newer Firebird (on-disk structure " + found +
           ") than this one reads (" + file + "); reach it through the Firebird server that serves it (host:" + file + ").";
  return "The database file was made by an older Firebird (on-disk structure " + (found.empty() ? std::string("below 12") : found) +
         "; this engine reads 12) (" + file + "). Reach it through the Firebird server that serves it (host:" + file +
         "), or upgrade it: back it up with that server's gbak -b and restore the backup with this version's gbak -c.";
}

}  // namespace

// A refusal of the engine's lock folder: access denied on a path inside it
// ("/tmp/firebird/", its fb_init or lock files) rather than on the database file.
bool IsLockFolderRefusal(const EDatabaseError& e) {
  if (e.OsError() != EACCES && e.OsError() != EPERM) return false;
  const std::string folder = EngineLockFolder();
  return !folder.empty() && std::string(e.what()).find(folder) != std::string::npos;
}

TEndpoint ParseConnectionString(const std::string& connection) {
  TEndpoint e;
  std::string rest = connection;
  if (rest.rfind("inet://", 0) == 0) {
    rest = rest.substr(7);
    const auto slash = rest.find('/');
    std::string authority = rest.substr(0, slash);
    e.file = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    const auto colon = authority.find(':');
    if (colon != std::string::npos) {
      e.port = authority.substr(colon + 1);
      authority.resize(colon);
    }
    e.host = authority.empty() ? "localhost" : authority;
    return e;
  }
  const auto colon = rest.find(':');
  // One letter before the colon is a drive, not a server.
  if (colon == std::string::npos || colon < 2) {
    e.file = rest;
    return e;
  }
  std::string server = rest.substr(0, colon);
  if (server.find('\\') != std::string::npos) {
    e.file = rest;
    return e;
  }
  e.file = rest.substr(colon + 1);
  const auto slash = server.find('/');
  if (slash != std::string::npos) {
    e.port = server.substr(slash + 1);
    server.resize(slash);
  }
  e.host = server;
  return e;
}

std::string ConnectionFailureReason(const EDatabaseError& e, const std::string& connection) {
  const TEndpoint where = ParseConnectionString(connection);
  const std::string file = where.file.empty() ? connection : where.file;
  // Not the engine's: the client library could not be loaded, said in plain words already.
  if (e.Codes().empty() && e.SQLCode() == 0) return e.what();
  if (e.Has(isc_login)) return "Wrong user name or password.";
  if (e.Has(isc_login_error))
    return "The server refused the login. It may accept only the legacy password method, which this program offers "
           "only when asked (a false server could collect the password's hash): let the server take Srp (AuthServer), "
           "or allow the legacy login for this server (--allow-legacy-login; the window asks), or see its firebird.log.";
  if (e.Has(isc_network_error) || e.Has(isc_net_connect_err) || e.Has(isc_net_lookup_err)) {
    const std::string server = "host " + (where.host.empty() ? std::string("localhost") : where.host) + ", port " + where.port;
    if (e.Has(isc_net_lookup_err)) return "The server's name is unknown (" + server + ").";
    return "The database server is unreachable (" + server + "): is it running, and may this machine reach it?";
  }
  if (e.Has(isc_already_opened))
    return "Another program holds the database file open with its own engine (" + file +
           "); close it, or reach the file through the database server (host:" + file + ").";
  const std::string onHost = where.host.empty() ? std::string() : " on host " + where.host;
  if (e.Has(isc_lock_dir_access) || IsLockFolderRefusal(e))
    return "This user may not use the database engine's lock folder, which belongs to the firebird group: add the user "
           "to that group (and log in again), or reach the file through the local database server (localhost:" +
           file + ").";
  if (e.Has(isc_wrong_ods)) return OlderFileReason(e.what(), file);
  if (e.Has(isc_io_error) && e.OsError() == ENOENT) return "The database file was not found" + onHost + " (" + file + ").";
  if (e.Has(isc_io_error) && e.OsError() == EISDIR) return "The path names a folder, not a database file (" + file + ").";
  if (e.Has(isc_io_error) && (e.OsError() == EACCES || e.OsError() == EPERM))
    return "The database file may not be opened by this user" + onHost + " (" + file + ").";
  const std::string text = e.what();
  if (e.Has(isc_bad_db_format) || text.find("File size is less than expected") != std::string::npos)
    return "The file is not a Firebird database, or it is empty or cut short (" + file + ").";
  if (e.Has(isc_shutdown)) return "The database is shut down (" + file + ").";
  if (e.Has(isc_unavailable)) return "The database server is not available.";
  return "The database engine refused the connection; its own words follow.";
}

std::string DatabaseErrorReason(const EDatabaseError& e, const std::string& connection) {
  if (e.Has(isc_dsql_relation_err) || e.SQLCode() == -204)
    return "The database is not an agency database of the expected kind: a table or procedure the export reads is missing.";
  if (e.Has(isc_dsql_field_err) || e.SQLCode() == -206)
    return "The database is not an agency database of the expected kind: a column the export reads is missing.";
  const TEndpoint where = ParseConnectionString(connection);
  const std::string server =
      where.host.empty() ? std::string() : " (host " + where.host + ", port " + where.port + ")";
  if (e.Has(isc_att_shutdown) || e.Has(isc_shutdown)) return "The database was shut down while the export read it" + server + ".";
  if (e.Has(isc_network_error) || e.Has(isc_conn_lost) || e.Has(isc_net_read_err) || e.Has(isc_net_write_err))
    return "The connection to the database server" + server +
           " was lost while the export read it: the server went away, or the network to it did.";
  return std::string();
}

std::string SilentServerReason(const std::string& connection, int seconds) {
  const TEndpoint where = ParseConnectionString(connection);
  return "The database server (host " + (where.host.empty() ? std::string("localhost") : where.host) + ", port " +
         where.port + ") stopped answering while the export read it: nothing came for " + std::to_string(seconds) +
         " seconds, so the connection was dropped.";
}

std::string NotADatabaseFile(const std::string& connectionUtf8) {
  const TEndpoint where = ParseConnectionString(connectionUtf8);
  const std::string host = UpperHost(where.host);
  // This machine by any of its names (127.1 and the rest of 127/8 too): its files are checked.
  if (!host.empty() && host != "LOCALHOST" && host.rfind("127.", 0) != 0 && host != "::1") return std::string();
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(PathOfText(where.file), ec);
  const char* kind = fs::is_directory(st)        ? "a folder"
                     : fs::is_fifo(st)           ? "a FIFO (named pipe)"
                     : fs::is_character_file(st) ? "a device"
                     : fs::is_block_file(st)     ? "a device"
                     : fs::is_socket(st)         ? "a socket"
                                                 : nullptr;
  if (!kind || ec) return std::string();
  return "The path names " + std::string(kind) + ", not a database file (" + ShownPath(where.file) + ").";
}

}  // namespace iex::db
