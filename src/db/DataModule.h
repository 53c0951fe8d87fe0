#pragma once
#include <string>

#include "db/Database.h"
#include "db/ExportQueries.h"
#include "db/PathRules.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "util/StringGrid.h"

namespace iex::db {

// The program's one link to the agency database: the connection, the export
// transaction, and the short lookup transaction with its statement.
class TdmMain {
 public:
  TdmMain();

  TDatabase ZAMDatabase;
  TTransaction trExport{ZAMDatabase};
  TTransaction trMisc{ZAMDatabase};
  TQuery sqlMisc{trMisc};

  std::string DBVersion;
  bool NewDestTable = false;

  // Connection. ConnectToDB never raises for a failed connect: it answers
  // false and leaves the reason, in plain words, in LastConnectError.
  std::string LastConnectError;
  std::string LastConnectDetails;  // the engine's own words, when it gave any
  // The server refused the SRP login: it may take only the legacy one.
  bool LastConnectRefusedLogin = false;
  // Offer the legacy login too (see TDatabase::AllowLegacyLogin).
  bool AllowLegacyLogin = false;
  // True when the file was opened in this process by the embedded engine,
  // which does not check the password (the file's permissions guard it).
  // Asked of the connection itself: a plain path the engine could not open
  // here may have reached a local server instead.
  bool OpenedByEmbeddedEngine();
  // The path in the ANSI code page, as the window and the alias stores hold it.
  bool ConnectToDB(const std::string& DBPath, const std::string& DBUserName, const std::string& DBPassword);
  // The path in UTF-8 (the command line), which the client library takes as it is.
  bool ConnectToDBUtf8(const std::string& pathUtf8, const std::string& DBUserName, const std::string& DBPassword);
  void AdjustDatabasePath(std::string& Path, const std::string& UserName, const std::string& Password);
  // Closes the connection, if open, on the way out: a failure to close it
  // helps no one who is leaving, so it is not raised.
  void Disconnect() noexcept;
  virtual bool LocalServerRunning(const std::string& UserName, const std::string& Password);
  virtual ~TdmMain() = default;

  // Reference lookups, each in its own short trMisc.
  std::string ReadCCKeySetting();
  std::string ReadCCEncryptSetting();
  void GetDBVersion();
  void GetBranchNames(TStringIntList& L);
  void PrepareTravelTypes(TStringGrid& G);
  void CacheCCLookUp(TStringIntList& L);
  // How many invoices the filters select that have a booking, for a progress display.
  long CountInvoices(const TInvoiceFilter& filter);

 private:
  void ConnectOrThroughLocalServer(const std::string& path);
  template <typename ReadRows>
  void Lookup(const std::string& sql, ReadRows readRows);
  std::string ReadSetting(int fieldNo);
};

}  // namespace iex::db
