#include "db/DbExportSource.h"

#include "db/ExportRowSources.h"
#include "platform/Error.h"

namespace iex::db {

TDbExportSource::TDbExportSource(TdmMain& dm, TRowSourceFactory rows)
    : dm_(dm), makeRows_(rows ? std::move(rows) : TRowSourceFactory([](TTransaction& tr) { return MakeWindowedRows(tr); })) {}

TDbExportSource::~TDbExportSource() { rows_.reset(); }

TSchemaVersion TDbExportSource::SchemaVersion() {
  dm_.GetDBVersion();
  return {dm_.DBVersion, dm_.NewDestTable};
}

TCardSettings TDbExportSource::CardSettings() { return {dm_.ReadCCKeySetting(), dm_.ReadCCEncryptSetting()}; }

TStringIntList TDbExportSource::CardTypes() {
  TStringIntList list;
  dm_.CacheCCLookUp(list);
  return list;
}

long TDbExportSource::CountInvoices(const TInvoiceFilter& filter) { return dm_.CountInvoices(filter); }

void TDbExportSource::BeginExport() {
  dm_.trExport.StartTransaction();
  rows_ = makeRows_(dm_.trExport);
}

void TDbExportSource::CommitExport() {
  if (rows_) rows_->Close();
  dm_.trExport.Commit();
}

void TDbExportSource::RollbackExport() noexcept {
  if (rows_) rows_->Close();
  try {
    if (dm_.trExport.Active()) dm_.trExport.Rollback();
  } catch (...) {
    // A lost connection cannot roll back; the server does it.
  }
}

bool TDbExportSource::ExportActive() const { return dm_.trExport.Active(); }

TExportRowSource& TDbExportSource::Rows() {
  if (!rows_) throw EMvError("The export transaction is not active.");
  return *rows_;
}

void TDbExportSource::Cancel() noexcept { dm_.ZAMDatabase.CancelOperation(); }

}  // namespace iex::db
