#pragma once
#include <functional>
#include <optional>
#include <string>

#include "crypto/Rijndael.h"
#include "db/DataModule.h"
#include "db/ExportRowSources.h"
#include "export/ExportContext.h"
#include "export/ExportSettings.h"
#include "export/ExportView.h"
#include "platform/Env.h"

namespace iex {

// One export from start to end: schema version, output folder, card
// settings, then both files inside one transaction, commit, settings saved.
class TExportRun {
 public:
  static constexpr const char* kDefaultOutputDir = "tovrane/db";  // below the file-system root

  TExportRun(db::TdmMain& dm, TExportView& view, const Env& env) : dm_(dm), view_(view), env_(env) {}

  // A folder given by the caller (the command line) replaces the default and
  // the chooser: it must exist.
  std::optional<std::string> FixedOutputDir;

  // Asked once per row: a non-empty text (why) stops the run, which then
  // rolls back, leaves the output folder as it was and raises EExportStopped.
  // May be called from the run's thread while another thread sets what it reads.
  std::function<std::string()> StopReason;

  // How the rows are read; the statements as first written are kept for comparison.
  db::TRowPath RowPath = db::TRowPath::OnePass;

  // True when both files are written, committed and the settings saved;
  // false when the user cancels the folder choice. Other failures raise,
  // after the transaction is rolled back; the files are put in place only
  // after the commit, so a failed or stopped run leaves the previous ones.
  bool RunExport(const ExportSettings& settings, const std::function<void()>& SaveSettings);
  bool CheckOutputDir();

  std::string OutputDir;
  bool IsCCEncrypt = false;
  TRDLBlock CipherKey{};
  const char fDelimiter = '\t';
  TExportSummary Summary;

 private:
  db::TdmMain& dm_;
  TExportView& view_;
  const Env& env_;
};

}  // namespace iex
