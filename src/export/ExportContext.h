#pragma once
#include <functional>
#include <optional>
#include <string>

#include "crypto/CardDecoder.h"
#include "export/ExportSettings.h"
#include "export/ExportSource.h"
#include "export/ExportSummary.h"
#include "export/ExportView.h"
#include "export/OutputTransaction.h"
#include "export/RecordLayout.h"
#include "platform/Error.h"

namespace iex {

// The invoices the settings choose, as the queries take them.
inline TInvoiceFilter InvoiceFilter(const ExportSettings& s) {
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
  TExportSource& source;
  const ExportSettings& settings;
  TExportView& view;
  TValueStyle style;
  bool newDestTable = false;
  bool isCCEncrypt = false;
  std::optional<TCardDecoder> cards;  // when card numbers are enciphered
  TOutputTransaction& output;
  // Non-empty once the user or a signal asked the run to stop.
  std::function<std::string()> stopReason;
  long invoicesToWrite = -1;  // -1: not counted
  TExportSummary summary{};

  // Raises EExportStopped when a stop was asked; called once per row.
  void CheckStop() const {
    if (!stopReason) return;
    const std::string reason = stopReason();
    if (!reason.empty()) throw EExportStopped(reason);
  }

  TInvoiceFilter Filter() const { return InvoiceFilter(settings); }

  void Show(TExportPhase phase, TProgressUnit unit = TProgressUnit::None, long done = 0, long total = -1,
            const std::string& number = std::string()) {
    view.ShowProgress({phase, unit, done, total, number});
  }
};

void ExportProfiles(TExportContext& ctx);  // IMPACCT.DAT
void ExportInvoices(TExportContext& ctx);  // IMPINV.DAT

}  // namespace iex
