#include "db/DataModule.h"

#include <ibase.h>

#include "db/DbError.h"
#include "db/ErrorReasons.h"
#include "db/ServiceProbe.h"
#include "platform/AnsiText.h"

namespace iex::db {

TdmMain::TdmMain() = default;

void TdmMain::Disconnect() noexcept {
  try {
    if (ZAMDatabase.Connected()) ZAMDatabase.SetConnected(false);
  } catch (...) {
  }
}

bool TdmMain::ConnectToDB(const std::string& DBPath, const std::string& DBUserName, const std::string& DBPassword) {
  return ConnectToDBUtf8(AnsiToUtf8(DBPath), DBUserName, DBPassword);
}

bool TdmMain::ConnectToDBUtf8(const std::string& pathUtf8, const std::string& DBUserName, const std::string& DBPassword) {
  if (ZAMDatabase.Connected()) ZAMDatabase.SetConnected(false);
  std::string path = pathUtf8;
  AdjustDatabasePath(path, DBUserName, DBPassword);
  ZAMDatabase.DatabaseNameUtf8 = path;
  // A FIFO would block the engine's open for good, a device read forever:
  // only a file is handed to it.
  LastConnectError = NotADatabaseFile(path);
  if (!LastConnectError.empty()) return false;
  ZAMDatabase.Params = {"USER_NAME=" + DBUserName, "PASSWORD=" + DBPassword};
  LastConnectError.clear();
  LastConnectDetails.clear();
  LastConnectRefusedLogin = false;
  ZAMDatabase.AllowLegacyLogin = AllowLegacyLogin;
  try {
    ConnectOrThroughLocalServer(path);
  } catch (const EDatabaseError& e) {
    LastConnectError = ConnectionFailureReason(e, Utf8ToAnsi(path));
    LastConnectRefusedLogin = e.Has(isc_login_error) && !AllowLegacyLogin;
    if (LastConnectError != e.what()) LastConnectDetails = e.what();
    ZAMDatabase.SetConnected(false);
    return false;
  } catch (const EMvError& e) {
    LastConnectError = e.what();
    ZAMDatabase.SetConnected(false);
    return false;
  }
  return true;
}


// A plain path the embedded engine may not open for this user (its lock
// folder is the firebird group's) may still be open to the local server,
// as a file another engine holds is: that is tried before giving up.
void TdmMain::ConnectOrThroughLocalServer(const std::string& path) {
  try {
    ZAMDatabase.Connect();
  } catch (const EDatabaseError& e) {
    if (!IsLockFolderRefusal(e) || !ParseConnectionString(path).host.empty()) throw;
    ZAMDatabase.DatabaseNameUtf8 = "localhost:" + path;
    try {
      ZAMDatabase.Connect();
    } catch (const EDatabaseError&) {
      ZAMDatabase.DatabaseNameUtf8 = path;
      throw e;  // no server either: the lock folder is what to mend
    }
  }
}

void TdmMain::AdjustDatabasePath(std::string& Path, const std::string& UserName, const std::string& Password) {
  db::AdjustDatabasePath(Path, [&] { return LocalServerRunning(UserName, Password); });
}

bool TdmMain::LocalServerRunning(const std::string& UserName, const std::string& Password) {
  try {
    QueryLocalServerVersion(UserName, Password);
    return true;
  } catch (const EDatabaseError& e) {
    return e.SQLCode() == -902;
  }
}

}  // namespace iex::db
