#pragma once
#include <functional>
#include <memory>

#include "db/DataModule.h"
#include "export/ExportSource.h"

namespace iex::db {

// How the rows are read in the export transaction.
using TRowSourceFactory = std::function<std::unique_ptr<TExportRowSource>(TTransaction& trExport)>;

// The agency database as the export sees it: the data module's lookups, its
// export transaction and the rows read in it.
class TDbExportSource final : public TExportSource {
 public:
  explicit TDbExportSource(TdmMain& dm, TRowSourceFactory rows = {});
  ~TDbExportSource() override;

  TSchemaVersion SchemaVersion() override;
  TCardSettings CardSettings() override;
  TStringIntList CardTypes() override;
  long CountInvoices(const TInvoiceFilter& filter) override;
  void BeginExport() override;
  void CommitExport() override;
  void RollbackExport() noexcept override;
  bool ExportActive() const override;
  TExportRowSource& Rows() override;
  void Cancel() noexcept override;

 private:
  TdmMain& dm_;
  TRowSourceFactory makeRows_;
  std::unique_ptr<TExportRowSource> rows_;
};

}  // namespace iex::db
