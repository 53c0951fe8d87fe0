#pragma once
#include <optional>
#include <string>

#include "export/ExportContext.h"

namespace iex {

// What one command-line export did, for a scheduler or monitoring to read
// without parsing the human text.
struct TRunReport {
  int status = 0;          // the exit status
  std::string error;       // empty when it succeeded (Windows-1252, as all messages)
  double elapsedSeconds = 0;
  std::string outputDir;   // UTF-8, as given
  bool filesWritten = false;  // both files put in place
  std::optional<bool> settingsSaved;  // none: not asked (--save-settings absent)
  TExportSummary summary;
};

// The report as a JSON object (UTF-8).
std::string RunReportJson(const TRunReport& report);

}  // namespace iex
