#include "db/DataModule.h"

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
  try {
    ZAMDatabase.Connect();
  } catch (const EDatabaseError& e) {
    LastConnectError = ConnectionFailureReason(e, Utf8ToAnsi(path));
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
