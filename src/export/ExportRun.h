#pragma once
#include <functional>
#include <optional>
#include <string>

#include "crypto/Rijndael.h"
#include "export/ExportContext.h"
#include "export/ExportSettings.h"
#include "export/ExportSource.h"
#include "export/ExportView.h"
#include "platform/Env.h"

namespace iex {

// One export from start to end: schema version, output folder, card
// settings, then both files inside one transaction, commit, settings saved.
class TExportRun {
 public:
  static constexpr const char* kDefaultOutputDir = "tovrane/db";  // below the file-system root

  TExportRun(TExportSource& source, TExportView& view, const Env& env) : source_(source), view_(view), env_(env) {}

  // A folder given by the caller (the command line) replaces the default and
  // the chooser: it must exist.
  std::optional<std::string> FixedOutputDir;

  // Asked once per row: a non-empty text (why) stops the run, which then
  // rolls back, leaves the output folder as it was and raises EExportStopped.
  // May be called from the run's thread while another thread sets what it reads.
  std::function<std::string()> StopReason;

  // Where the folder chooser opens (a path in UTF-8); the program's folder when empty.
  std::string ChooserStart;

  // Count the invoices the run will write first, so progress has a total.
  bool CountInvoices = false;

  // True when both files are written, committed and the settings saved;
  // false when the user cancels the folder choice. Other failures raise,
  // after the transaction is rolled back; the files are put in place only
  // after the commit, so a failed or stopped run leaves the previous ones.
  bool RunExport(const ExportSettings& settings, const std::function<void()>& SaveSettings);
  bool CheckOutputDir();

  std::string OutputDir;
  TExportSummary Summary;

 private:
  TOutputTransaction OpenOutput();
  void WriteBothFiles(TExportContext& ctx);
  [[noreturn]] void Abandon(TExportContext& ctx);

  TExportSource& source_;
  TExportView& view_;
  const Env& env_;
};

}  // namespace iex
