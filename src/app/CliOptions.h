#pragma once
#include <optional>
#include <string>
#include <vector>

namespace iex {

// The words of "invoice-export export ...", checked for form only; the
// values are read against the database and the regional settings later.
struct TExportOptions {
  std::string alias, database;
  std::string user = "SYSDBA";
  std::string passwordEnv, passwordFile;
  std::string outputDir;
  std::string fromDate, toDate, fromNumber, toNumber;
  std::optional<std::string> branch;
  bool all = false;
  std::optional<std::string> mapBy;          // "category" or "type"
  std::optional<std::string> itinerary;      // "category" or "vendor"
  std::optional<std::string> categoryLetters;
  std::optional<std::string> travelTypeMap;
  bool saveSettings = false;
  bool allowLegacyLogin = false;  // offer a server the legacy login after SRP
  std::string summaryJson;  // where to write what the run did, for schedulers
};

// True when the words ask for help (--help or -h anywhere among them).
bool AsksForHelp(const std::vector<std::string>& args);

// Raises TUsageError with the text to show. "--option=value" is the same as
// "--option value".
TExportOptions ParseExportOptions(const std::vector<std::string>& args);

// The summary file the words name, read before anything else is checked, so
// a summary is written whatever is wrong with the rest; none when the words
// do not name one plainly.
std::optional<std::string> SummaryFileOf(const std::vector<std::string>& args);

class TUsageError : public std::exception {
 public:
  explicit TUsageError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

extern const char* const kExportUsage;

}  // namespace iex
