#include "app/CliExport.h"

#include <chrono>
#include <filesystem>

#include "platform/PathText.h"

#include "app/CliOptions.h"
#include "app/MainController.h"
#include "app/Password.h"
#include "app/RunReport.h"
#include "platform/LockedFile.h"
#include "app/TerminalView.h"
#include "app/TravelTypeGrid.h"
#include "db/DataModule.h"
#include "db/ErrorReasons.h"
#include "export/ExportRequest.h"
#include "export/ExportRun.h"
#include "platform/Codepage1252.h"
#include "platform/Secrets.h"
#include "platform/StopSignals.h"
#include "util/DateParser.h"
#include "util/DayNumbers.h"
#include "platform/Error.h"
#include "util/NumberText.h"

namespace iex {
namespace {

// A check of the wizard's first page failed: its message, exit status 2.
struct TValidationError : EMvError {
  using EMvError::EMvError;
};

double DateOption(const std::string& text, const Env& env) {
  if (text.empty()) return 0;
  RegionalSettings regional = env.Regional();
  ExpandShortYearFormat(regional);
  const DateOrder order = InitDateOrder(regional);
  uint16_t n = kInvalidDay;
  try {
    n = ParseDateText(Utf8ToCp1252(text), DateOrderHint(regional.shortDateFormat), order, TodayDayNumber(env));
  } catch (const EMvError&) {
  }
  if (n == kInvalidDay) throw TValidationError("Invalid Date. Please enter again.");
  return n == 0 ? 0 : n + kDayNumberBase;
}

// Digits only: "1e5" or "-5" would otherwise read as other numbers than meant.
double NumberOption(const std::string& text) {
  if (text.empty()) return 0;
  if (text.find_first_not_of("0123456789") != std::string::npos) throw TValidationError("Invalid Number. Please enter again.");
  TNumEdit field;
  ConfigureInvoiceNumberEdit(field);
  try {
    field.SetEditText(text);
    return static_cast<double>(field.Value());
  } catch (const EMvError& e) {
    throw TValidationError(e.what());
  }
}

// The text arrives from the terminal (UTF-8); the messages are 8-bit.
int32_t BranchOption(const std::string& utf8, db::TdmMain& dm) {
  const std::string text = Utf8ToCp1252(utf8);
  int32_t branch = 0;
  try {
    branch = TextToInt(text);
  } catch (const EMvError&) {
    throw TValidationError("Could not set value to Branch number " + text + ". Access denied.");
  }
  if (text.find_first_of("0123456789") == std::string::npos || branch < 0)
    throw TValidationError("Could not set value to Branch number " + text + ". Access denied.");
  TStringIntList branches;
  dm.GetBranchNames(branches);
  for (const auto& [name, no] : branches)
    if (no == branch) return branch;
  throw TValidationError("Could not set value to Branch number " + std::to_string(branch) + ". Access denied.");
}

void Say(std::FILE* f, const std::string& cp1252Text) { std::fprintf(f, "%s\n", Cp1252ToUtf8(cp1252Text).c_str()); }

}  // namespace

namespace {

int RunExportCommand(const TExportOptions& o, const Env& env, TSettingsStore* store, const TAliasResolver& resolveAlias,
                     std::FILE* out, std::FILE* err, TRunReport& report) {
  auto fail = [&](int status, const std::string& text) {
    Say(err, text);
    report.error = text;
    return status;
  };
  const auto started = std::chrono::steady_clock::now();
  db::TdmMain dm;
  try {
    std::string path = Utf8ToCp1252(o.database);
    if (!o.alias.empty()) {
      path = resolveAlias ? resolveAlias(Utf8ToCp1252(o.alias)) : std::string();
      if (!resolveAlias) throw TValidationError("Aliases are not available in this build; name the database with --database.");
      if (path.empty()) throw TValidationError("Please enter Alias Name.");
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(PathOfText(o.outputDir), ec))
      throw TValidationError("The output folder " + Utf8ToCp1252(o.outputDir) + " does not exist. Create it or name another one.");
    std::string warning;
    std::string password = ReadPassword(o.passwordEnv, o.passwordFile, warning);
    if (!warning.empty()) Say(err, warning);

    ExportSettings settings;
    settings.StartInvDate = DateOption(o.fromDate, env);
    settings.EndInvDate = DateOption(o.toDate, env);
    settings.StartInvNo = NumberOption(o.fromNumber);
    settings.EndInvNo = NumberOption(o.toNumber);

    TSavedSettings saved = store ? store->Load() : TSavedSettings::Defaults();
    if (o.categoryLetters) {
      const std::string letters = Utf8ToCp1252(*o.categoryLetters);
      if (letters.size() != 10) throw TValidationError("--category-letters takes exactly ten characters, one per travel category.");
      for (int c = 1; c <= 10; ++c) saved.categoryLetters[static_cast<std::size_t>(c)] = letters.substr(static_cast<std::size_t>(c - 1), 1);
    }
    if (o.mapBy) saved.mapBy = *o.mapBy == "type" ? "Travel Type" : "Travel Category";
    if (o.itinerary) saved.itinMap = *o.itinerary == "vendor" ? 1 : 0;
    if (o.travelTypeMap) saved.travelTypeMap = Utf8ToCp1252(*o.travelTypeMap);

    std::string password1252 = Utf8ToCp1252(password);
    const bool connected = dm.ConnectToDB(path, Utf8ToCp1252(o.user), password1252);
    const bool passwordGiven = !password.empty();
    Wipe(password);
    Wipe(password1252);
    if (!connected) {
      return fail(1, "Unable to connect to database.\n" + dm.LastConnectError);
    }
    if (passwordGiven && dm.OpenedByEmbeddedEngine())
      Say(err, "Note: the embedded engine opened the file directly and did not check the password; the file's permissions guard it.");
    TExportRequest request;
    if (!o.fromDate.empty()) request.fromDate = settings.StartInvDate;
    if (!o.toDate.empty()) request.toDate = settings.EndInvDate;
    request.fromNumber = static_cast<int64_t>(settings.StartInvNo);
    request.toNumber = static_cast<int64_t>(settings.EndInvNo);
    if (o.branch) request.branch = 0;  // checked against the database below, after the ranges
    const TRequestCheck filters = CheckFilters(request);
    if (filters.fault == TRequestFault::DateRange || filters.fault == TRequestFault::NumberRange)
      throw TValidationError(filters.message);
    if (o.branch) request.branch = BranchOption(*o.branch, dm);
    if (filters.fault == TRequestFault::NoFilter && !o.all)
      throw TValidationError(filters.message +
                             " All Invoices generated via Corvantine would be exported: add --all to export them all.");
    request.mapBy = UpperAscii(saved.mapBy) == "TRAVEL CATEGORY" ? TMapBy::TravelCategory : TMapBy::TravelType;
    request.itinerary = saved.itinMap == 0 ? TItinerary::ByTravelCategory : TItinerary::VendorName;
    for (int i = 0; i < 10; ++i) request.categoryLetters[static_cast<std::size_t>(i)] = saved.categoryLetters[static_cast<std::size_t>(i + 1)];

    TStringGrid grid;
    std::string map = saved.travelTypeMap;
    FillTravelTypeGrid(grid, dm, map);
    TravelTypeLettersFromGrid(grid, settings);
    if (const TRequestCheck mapping = CheckMapping(request)) throw TValidationError(mapping.message);
    ApplyRequest(request, settings);

    TTerminalView view(err, IsTerminal(err));
    TExportRun run(dm, view, env);
    run.FixedOutputDir = o.outputDir;
    auto save = [&] {
      if (!o.saveSettings) return;
      try {
        if (!store) throw EMvError("Settings cannot be saved in this build.");
        saved.travelTypeMap = BuildTravelTypeMap(grid);
        store->Save(saved);
      } catch (const EMvError& e) {
        throw EMvError(std::string(e.what()) + "\nThe import files IMPACCT.DAT and IMPINV.DAT in " + Utf8ToCp1252(o.outputDir) +
                       " are complete; only the settings were not saved.");
      }
    };
    TStopSignals stopSignals;
    run.StopReason = &TStopSignals::Reason;
    try {
      run.RunExport(settings, save);
    } catch (...) {
      view.Finish();
      report.summary = run.Summary;
      throw;
    }
    view.Finish();
    report.summary = run.Summary;
    report.filesWritten = true;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const TExportSummary& s = run.Summary;
    std::fprintf(out, "Export Done.\n%s/IMPACCT.DAT: %ld account lines\n", o.outputDir.c_str(), s.accountLines);
    std::fprintf(out, "%s/IMPINV.DAT: %ld booking lines (01), %ld segment lines (02), %ld UDID lines (03), %ld payment-reference lines (03 101)\n",
                 o.outputDir.c_str(), s.bookingLines, s.segmentLines, s.udidLines, s.paymentRefLines);
    std::fprintf(out, "Elapsed: %.1f s\n", seconds);
    dm.ZAMDatabase.SetConnected(false);
    return 0;
  } catch (const TUsageError& e) {
    std::fprintf(err, "invoice-export: %s\n", e.what());
    report.error = e.what();
    return 2;
  } catch (const TValidationError& e) {
    return fail(2, e.what());
  } catch (const db::EDatabaseError& e) {
    const std::string reason = db::DatabaseErrorReason(e);
    return fail(1, reason.empty() ? std::string(e.what()) : reason + "\n" + e.what());
  } catch (const std::exception& e) {
    return fail(1, e.what());
  }
}

}  // namespace

int RunExportCommand(const std::vector<std::string>& args, const Env& env, TSettingsStore* store,
                     const TAliasResolver& resolveAlias, std::FILE* out, std::FILE* err) {
  TExportOptions o;
  try {
    o = ParseExportOptions(args);
  } catch (const TUsageError& e) {
    std::fprintf(err, "invoice-export: %s\n%s", e.what(), kExportUsage);
    return 2;
  }
  const auto started = std::chrono::steady_clock::now();
  TRunReport report;
  report.outputDir = o.outputDir;
  const TNoCoreDumps noCoreDumps;  // for the run's length: the password is in memory
  report.status = RunExportCommand(o, env, store, resolveAlias, out, err, report);
  report.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (!o.summaryJson.empty()) {
    try {
      WriteFileAtomically(o.summaryJson, RunReportJson(report));
    } catch (const std::exception& e) {
      Say(err, "The summary cannot be written to " + Utf8ToCp1252(o.summaryJson) + ": " + e.what());
      if (report.status == 0) return 1;
    }
  }
  return report.status;
}

}  // namespace iex
