#pragma once
#include <functional>
#include <string>

#include "crypto/Rijndael.h"
#include "db/DataModule.h"
#include "db/ExportRows.h"
#include "export/ExportSettings.h"
#include "export/ExportView.h"
#include "export/OutputTransaction.h"
#include "platform/Error.h"
#include "platform/RegionalSettings.h"

namespace iex {

// Lines written per record type, for the summary of a run.
struct TExportSummary {
  long accountLines = 0;
  long bookingLines = 0;
  long segmentLines = 0;
  long udidLines = 0;
  long paymentRefLines = 0;
  // The invoices the file covers.
  long invoices = 0;
  std::string firstInvoiceNumber, lastInvoiceNumber;  // the lowest and the highest
  double firstIssueDate = 0, lastIssueDate = 0;       // date values; 0: none
  void CountInvoice(const std::string& number, double issueDate);
};

// The invoices the settings choose, as the queries take them.
inline db::TInvoiceFilter InvoiceFilter(const ExportSettings& s) {
  return {s.BranchNo, s.StartInvNo, s.EndInvNo, s.StartInvDate, s.EndInvDate};
}

// The run was stopped (the window's Stop, a signal); nothing was changed.
class EExportStopped : public EMvError {
 public:
  explicit EExportStopped(const std::string& reason)
      : EMvError("The export was stopped: " + reason + "\nThe previous import files are unchanged.") {}
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
  TOutputTransaction& output;
  db::TExportRowSource& rows;
  // Non-empty once the user or a signal asked the run to stop.
  std::function<std::string()> stopReason;
  TExportSummary summary{};

  // Raises EExportStopped when a stop was asked; called once per row.
  void CheckStop() const {
    if (!stopReason) return;
    const std::string reason = stopReason();
    if (!reason.empty()) throw EExportStopped(reason);
  }

  db::TInvoiceFilter Filter() const { return InvoiceFilter(settings); }
};


// When a writer ends, also by an error: empties both status labels, lets
// events run and closes the row source's cursors.
class TWriterStatusScope {
 public:
  explicit TWriterStatusScope(TExportContext& ctx) : ctx_(ctx) {}
  ~TWriterStatusScope();

 private:
  TExportContext& ctx_;
};

void ExportProfiles(TExportContext& ctx);  // IMPACCT.DAT
void ExportInvoices(TExportContext& ctx);  // IMPINV.DAT

}  // namespace iex
