#include "app/FailureMessages.h"

#include "db/ErrorReasons.h"

namespace iex {

TMessage ConnectFailure(const db::TdmMain& dm) {
  TMessage m;
  m.kind = TMsgKind::Error;
  m.text = "Unable to connect to database." + (dm.LastConnectError.empty() ? std::string() : "\n" + dm.LastConnectError);
  m.details = dm.LastConnectDetails;
  return m;
}

TMessage RunFailure(const std::exception& e, const db::TdmMain* dm) {
  TMessage m;
  m.kind = TMsgKind::Error;
  const auto* database = dynamic_cast<const db::EDatabaseError*>(&e);
  if (!database) {
    m.text = e.what();
    return m;
  }
  const std::string connection = dm ? dm->ZAMDatabase.DatabaseNameUtf8 : std::string();
  const std::string reason = dm && dm->ZAMDatabase.DroppedSilentServer
                                 ? db::SilentServerReason(connection, db::TDatabase::SilenceLimitSeconds.load())
                                 : db::DatabaseErrorReason(*database, connection);
  m.text = "The database could not be read.\n" +
           (reason.empty() ? std::string("The database engine reported an error; its own words follow.") : reason);
  m.details = e.what();
  return m;
}

std::string AsText(const TMessage& m) { return m.details.empty() ? m.text : m.text + "\n" + m.details; }

}  // namespace iex
