#pragma once
#include <string>

#include "crypto/Rijndael.h"
#include "db/DataModule.h"
#include "export/ExportSettings.h"
#include "export/ExportView.h"
#include "platform/RegionalSettings.h"

namespace iex {

// Lines written per record type, for the summary of a run.
struct TExportSummary {
  long accountLines = 0;
  long bookingLines = 0;
  long segmentLines = 0;
  long udidLines = 0;
  long paymentRefLines = 0;
};

// What the two file writers share during one run.
struct TExportContext {
  db::TdmMain& dm;
  const ExportSettings& settings;
  TExportView& view;
  const RegionalSettings& regional;
  std::string OutputDir;
  bool IsCCEncrypt = false;
  TRDLBlock CipherKey{};
  TExportSummary summary;

  db::TInvoiceFilter Filter() const {
    return {settings.BranchNo, settings.StartInvNo, settings.EndInvNo, settings.StartInvDate, settings.EndInvDate};
  }
  std::string FilePath(const std::string& name) const { return OutputDir + "/" + name; }
};

// Creates one import file; on failure shows "Can not write to file <path>."
// and raises the file system's error.
class TLineWriter;
TLineWriter OpenImportFile(TExportContext& ctx, const std::string& name);

// When a writer ends, also by an error: empties both status labels, lets
// events run and closes the writer's query.
class TWriterStatusScope {
 public:
  TWriterStatusScope(TExportContext& ctx, db::TQuery& query) : ctx_(ctx), query_(query) {}
  ~TWriterStatusScope();

 private:
  TExportContext& ctx_;
  db::TQuery& query_;
};

void ExportProfiles(TExportContext& ctx);  // IMPACCT.DAT
void ExportInvoices(TExportContext& ctx);  // IMPINV.DAT

}  // namespace iex
