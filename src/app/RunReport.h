#pragma once
#include <optional>
#include <string>

#include "export/ExportSummary.h"

namespace iex {

// What one command-line export did, for a scheduler or monitoring to read
// without parsing the human text.
struct TRunReport {
  int status = 0;             // the exit status
  std::string error;          // empty when it succeeded (ANSI, as all messages)
  std::string version;        // of the program
  std::string startedAt, endedAt;  // ISO 8601, UTC
  double elapsedSeconds = 0;
  std::string outputDir;      // UTF-8 as given, or bytes of no encoding
  std::optional<double> fromDate, toDate;  // the issue dates as read
  bool filesWritten = false;  // both files put in place
  std::optional<bool> settingsSaved;  // none: not asked (--save-settings absent)
  TExportSummary summary;
};

// The report as a JSON object: valid UTF-8 whatever bytes a path holds.
std::string RunReportJson(const TRunReport& report);

// Now, as ISO 8601 in UTC ("2026-12-10T02:30:00Z").
std::string UtcNowIso();

}  // namespace iex
