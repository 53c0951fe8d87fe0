#include "db/DataModule.h"

#include "db/DbError.h"
#include "db/ErrorReasons.h"
#include "db/ServiceProbe.h"

namespace iex::db {

TdmMain::TdmMain() = default;

bool TdmMain::ConnectToDB(const std::string& DBPath, const std::string& DBUserName, const std::string& DBPassword) {
  if (ZAMDatabase.Connected()) ZAMDatabase.SetConnected(false);
  std::string path = DBPath;
  AdjustDatabasePath(path, DBUserName, DBPassword);
  ZAMDatabase.DatabaseName = path;
  ZAMDatabase.Params = {"USER_NAME=" + DBUserName, "PASSWORD=" + DBPassword};
  LastConnectError.clear();
  try {
    ZAMDatabase.Connect();
  } catch (const EDatabaseError& e) {
    LastConnectError = ConnectionFailureReason(e, path);
    ZAMDatabase.SetConnected(false);
    return false;
  } catch (const EMvError& e) {
    LastConnectError = e.what();
    ZAMDatabase.SetConnected(false);
    return false;
  }
  return true;
}

bool TdmMain::OpenedByEmbeddedEngine() const {
  return ZAMDatabase.Connected() && ParseConnectionString(ZAMDatabase.DatabaseName).host.empty();
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
