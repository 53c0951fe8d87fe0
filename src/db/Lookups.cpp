#include "db/DataModule.h"
#include "db/DbError.h"
#include "db/ErrorReasons.h"

namespace iex::db {

// Start trMisc, run one statement, read its rows, close it and commit, also
// when reading fails; then the error goes on.
template <typename ReadRows>
void TdmMain::Lookup(const std::string& sql, ReadRows readRows) {
  trMisc.StartTransaction();
  try {
    sqlMisc.SetSQL({sql});
    sqlMisc.ExecQuery();
    readRows();
  } catch (...) {
    sqlMisc.Close();
    try {
      trMisc.Commit();
    } catch (...) {
      // The connection may be gone: never leave the transaction half-open.
      try {
        trMisc.Rollback();
      } catch (...) {
      }
    }
    throw;
  }
  sqlMisc.Close();
  trMisc.Commit();
}

std::string TdmMain::ReadSetting(int fieldNo) {
  std::string value;
  Lookup("SELECT FIELDSTRVALUE FROM MOVRA_SETTINGS WHERE FIELDNO = " + std::to_string(fieldNo), [&] {
    if (!sqlMisc.Eof()) value = sqlMisc.Field(0).AsString();
  });
  return value;
}

std::string TdmMain::ReadCCKeySetting() { return ReadSetting(47); }
std::string TdmMain::ReadCCEncryptSetting() { return ReadSetting(48); }

long TdmMain::CountInvoices(const TInvoiceFilter& filter) {
  // Only invoices with a booking give lines; the run corrects the total at its end.
  SqlLines lines{"SELECT COUNT(*) FROM INVOICE I"};
  AddFilters(lines, filter);
  lines.push_back(filter.Empty() ? "WHERE" : "AND");
  lines.push_back("EXISTS (SELECT 1 FROM BOOKING B WHERE B.INVOICE_LINKNO = I.INVOICENO)");
  std::string sql;
  for (const std::string& line : lines) sql += (sql.empty() ? "" : "\n") + line;
  long count = 0;
  Lookup(sql, [&] {
    if (!sqlMisc.Eof()) count = sqlMisc.Field(0).AsInteger();
  });
  return count;
}

void TdmMain::GetDBVersion() {
  DBVersion.clear();
  Lookup("SELECT ZAMTABLEVERSIONNO FROM TABLEVERSION WHERE ACTIVEVERSION = 'Y'", [&] {
    if (!sqlMisc.Eof()) DBVersion = sqlMisc.Field(0).AsString();
  });
  long version = -1;
  std::size_t i = 0;
  if (i < DBVersion.size() && (DBVersion[i] == '-' || DBVersion[i] == '+')) ++i;
  bool digits = i < DBVersion.size();
  for (std::size_t k = i; k < DBVersion.size(); ++k)
    if (DBVersion[k] < '0' || DBVersion[k] > '9') digits = false;
  if (digits && DBVersion.size() - i <= 10) {
    const long long v = std::stoll(DBVersion);
    if (v >= INT32_MIN && v <= INT32_MAX) version = static_cast<long>(v);
  }
  NewDestTable = version >= 80;
}

void TdmMain::GetBranchNames(TStringIntList& L) {
  Lookup("SELECT BRANCHNO, NAME FROM BRANCH", [&] {
    for (; !sqlMisc.Eof(); sqlMisc.Next()) L.emplace_back(sqlMisc.FieldByName("NAME").AsString(), sqlMisc.FieldByName("BRANCHNO").AsInteger());
  });
}

void TdmMain::PrepareTravelTypes(TStringGrid& G) {
  Lookup("SELECT TRAVELTYPENO, TRAVELTYPE, TRAVELCATEGORY_LINKNO FROM TRAVELTYPE ORDER BY TRAVELTYPENO", [&] {
    for (int row = 1; !sqlMisc.Eof(); sqlMisc.Next(), ++row) {
      G.SetCell(0, row, sqlMisc.FieldByName("TRAVELTYPENO").AsString() + ". " + sqlMisc.FieldByName("TRAVELTYPE").AsString());
      G.SetCell(1, row, std::string());
      G.SetCell(2, row, sqlMisc.FieldByName("TRAVELCATEGORY_LINKNO").AsString());
    }
  });
}

void TdmMain::CacheCCLookUp(TStringIntList& L) {
  L.clear();
  Lookup("SELECT CCNO,CODE FROM CCNO_LOOKUP LEFT JOIN CCTYPES ON CCTYPE_LINKNO = TYPENO", [&] {
    for (; !sqlMisc.Eof(); sqlMisc.Next()) L.emplace_back(sqlMisc.FieldByName("CODE").AsString(), sqlMisc.FieldByName("CCNO").AsInteger());
  });
}

bool TdmMain::OpenedByEmbeddedEngine() {
  if (!ZAMDatabase.Connected()) return false;
  std::string protocol = "?";
  try {
    Lookup("SELECT RDB$GET_CONTEXT('SYSTEM', 'NETWORK_PROTOCOL') FROM RDB$DATABASE", [&] {
      if (!sqlMisc.Eof()) protocol = sqlMisc.Field(0).AsString();
    });
  } catch (const EMvError&) {
    return ParseConnectionString(ZAMDatabase.DatabaseNameUtf8).host.empty();
  }
  return protocol.empty();  // no network protocol: opened in this process
}

}  // namespace iex::db
