#include "export/ExportRun.h"

#include "export/CardKey.h"
#include "export/OutputFolder.h"
#include "platform/Error.h"
#include "platform/Secrets.h"

namespace iex {
namespace {

struct TWipedOnExit {
  TRDLBlock& key;
  ~TWipedOnExit() { WipeBytes(key.data(), key.size()); }
};

}  // namespace

bool TExportRun::CheckOutputDir() {
  if (FixedOutputDir) {
    OutputDir = *FixedOutputDir;
    const std::string problem = OutputFolderProblem(env_.Files(), OutputDir);
    if (!problem.empty()) throw EMvError(problem);
    return true;
  }
  OutputDir = env_.FileSystemRoot() + kDefaultOutputDir;
  if (OutputFolderProblem(env_.Files(), OutputDir).empty()) return true;
  std::string chosen;
  if (!view_.ChooseFolder(ChooserStart.empty() ? env_.ProgramFolder() : ChooserStart, chosen)) return false;
  OutputDir = chosen;
  return true;
}

bool TExportRun::RunExport(const ExportSettings& settings, const std::function<void()>& SaveSettings) {
  Summary = TExportSummary{};
  const TSchemaVersion schema = source_.SchemaVersion();
  if (!CheckOutputDir()) return false;
  bool isCCEncrypt = false;
  TRDLBlock cipherKey{};
  const TWipedOnExit wiped(cipherKey);  // the key lives no longer than the run, however it ends
  ProcessCCEncrypt(source_.CardSettings(), isCCEncrypt, cipherKey);
  const RegionalSettings regional = env_.Regional();
  TOutputTransaction output = OpenOutput();
  TExportContext ctx{source_, settings, view_, {regional.decimalSeparator, regional.dateSeparator}, schema.newDestTable,
                     isCCEncrypt, std::nullopt, output, StopReason};
  if (isCCEncrypt) ctx.cards.emplace(cipherKey);
  ctx.summary.recovery = output.RecoveryNote();
  try {
    if (CountInvoices) {
      ctx.Show(TExportPhase::Counting);
      ctx.invoicesToWrite = source_.CountInvoices(ctx.Filter());
    }
    source_.BeginExport();
    WriteBothFiles(ctx);
    // A stop that came after the last row but before the files go in still stops.
    ctx.CheckStop();
  } catch (...) {
    Abandon(ctx);
  }
  ctx.Show(TExportPhase::Committing, TProgressUnit::Invoices, ctx.summary.invoices, ctx.summary.invoices);
  Summary = ctx.summary;
  try {
    output.Commit();
  } catch (...) {
    ctx.Show(TExportPhase::Failed, TProgressUnit::Invoices, ctx.summary.invoices, ctx.summary.invoices);
    throw;
  }
  ctx.Show(TExportPhase::Done, TProgressUnit::Invoices, ctx.summary.invoices, ctx.summary.invoices);
  SaveSettings();
  return true;
}

TOutputTransaction TExportRun::OpenOutput() {
  try {
    return TOutputTransaction(env_.Files(), OutputDir);
  } catch (...) {
    // A locked or unwritable folder ends the run before any row: the view still learns it failed.
    view_.ShowProgress({TExportPhase::Failed, TProgressUnit::Invoices, 0, 0, {}});
    throw;
  }
}

void TExportRun::WriteBothFiles(TExportContext& ctx) {
  view_.EnableExport(false);
  try {
    ExportProfiles(ctx);
    ExportInvoices(ctx);
  } catch (...) {
    view_.EnableExport(true);
    throw;
  }
  view_.EnableExport(true);
  source_.CommitExport();
}

void TExportRun::Abandon(TExportContext& ctx) {
  Summary = ctx.summary;
  if (source_.ExportActive()) source_.RollbackExport();
  // A signal may reach the client library first and end the connection:
  // the user asked for a stop, so that is what the run reports.
  const std::string reason = StopReason ? StopReason() : std::string();
  const TExportProgress end{reason.empty() ? TExportPhase::Failed : TExportPhase::Stopped, TProgressUnit::Invoices,
                            ctx.summary.invoices, ctx.invoicesToWrite, std::string()};
  try {
    throw;
  } catch (const EExportStopped&) {
    view_.ShowProgress({TExportPhase::Stopped, end.unit, end.done, end.total, {}});
    throw;
  } catch (...) {
    view_.ShowProgress(end);
    if (!reason.empty()) throw EExportStopped(reason);
    throw;
  }
}

}  // namespace iex
