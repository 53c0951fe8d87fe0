#include "export/ExportRun.h"

#include <filesystem>

#include "platform/PathText.h"

#include "export/CardKey.h"

#include "platform/Error.h"

namespace iex {

bool TExportRun::CheckOutputDir() {
  std::error_code ec;
  if (FixedOutputDir) {
    OutputDir = *FixedOutputDir;
    if (!std::filesystem::is_directory(PathOfText(OutputDir), ec))
      throw EMvError("The output folder " + OutputDir + " does not exist. Create it or name another one.");
    return true;
  }
  OutputDir = env_.FileSystemRoot() + kDefaultOutputDir;
  if (std::filesystem::is_directory(PathOfText(OutputDir), ec)) return true;  // a link to a folder counts
  std::string chosen;
  if (!view_.ChooseFolder(env_.ProgramFolder(), chosen)) return false;
  OutputDir = chosen;
  return true;
}

bool TExportRun::RunExport(const ExportSettings& settings, const std::function<void()>& SaveSettings) {
  Summary = TExportSummary{};
  dm_.GetDBVersion();
  if (!CheckOutputDir()) return false;
  ProcessCCEncrypt(dm_, IsCCEncrypt, CipherKey);
  const RegionalSettings regional = env_.Regional();
  TOutputTransaction output(env_.Files(), OutputDir);
  const auto rows = db::MakeExportRows(dm_, RowPath);
  TExportContext ctx{dm_, settings, view_, regional, OutputDir, IsCCEncrypt, CipherKey, output, *rows, StopReason};
  dm_.trExport.StartTransaction();
  try {
    view_.EnableExport(false);
    try {
      ExportProfiles(ctx);
      ExportInvoices(ctx);
    } catch (...) {
      view_.EnableExport(true);
      throw;
    }
    view_.EnableExport(true);
    dm_.trExport.Commit();
  } catch (...) {
    Summary = ctx.summary;
    if (dm_.trExport.Active()) {
      try {
        dm_.trExport.Rollback();
      } catch (...) {
        // A lost connection cannot roll back; the server does it.
      }
    }
    // A signal may reach the client library first and end the connection:
    // the user asked for a stop, so that is what the run reports.
    const std::string reason = StopReason ? StopReason() : std::string();
    if (!reason.empty()) {
      try {
        throw;
      } catch (const EExportStopped&) {
        throw;
      } catch (...) {
        throw EExportStopped(reason);
      }
    }
    throw;
  }
  output.Commit();
  Summary = ctx.summary;
  SaveSettings();
  return true;
}

}  // namespace iex
