#include "app/CliExport.h"

#include <chrono>
#include <filesystem>

#include "app/Version.h"
#include "app/CliOptions.h"
#include "app/FailureMessages.h"
#include "app/DateOptions.h"
#include "app/Password.h"
#include "app/ProgressText.h"
#include "app/RequestBuilder.h"
#include "app/RunReport.h"
#include "app/TerminalView.h"
#include "app/TravelTypeGrid.h"
#include "db/DataModule.h"
#include "db/DbExportSource.h"
#include "db/ErrorReasons.h"
#include "export/ExportRequest.h"
#include "export/ExportRun.h"
#include "export/OutputFolder.h"
#include "platform/AnsiText.h"
#include "platform/Error.h"
#include "platform/LockedFile.h"
#include "platform/PathText.h"
#include "platform/Secrets.h"
#include "platform/StopSignals.h"
#include "util/DateOrder.h"
#include "util/DateParser.h"
#include "util/DayNumbers.h"
#include "util/NumberText.h"

namespace iex {
namespace {

// A check of the wizard's pages failed: its message, exit status 2.
struct TValidationError : EMvError {
  using EMvError::EMvError;
};

void Say(std::FILE* f, const std::string& cp1252Text) { std::fprintf(f, "%s\n", AnsiToUtf8(cp1252Text).c_str()); }

// What the options give before the database is asked anything.
struct TCliSetup {
  std::string pathUtf8;  // the database, as the connection takes it
  std::string password;  // wiped once connected
  TExportRequest request;  // without the branch, which the database checks
  TSavedSettings saved;
};

std::optional<double> DateOption(const std::string& text, const TDateFormats& formats, const Env& env, std::FILE* err) {
  const TDateOption d = ReadDateOption(text, formats, TodayDayNumber(env));
  if (!d.valid) throw TValidationError("Invalid Date. Please enter again.\n" + Utf8ToAnsi(text) +
                                       " is no date from 1980 to 2079 in the regional form (" +
                                       formats.regional.shortDateFormat + "), as YYYY-MM-DD or as an = expression.");
  if (!d.warning.empty()) Say(err, "Warning: " + d.warning);
  return d.value;
}

int64_t NumberOption(const std::string& text) {
  try {
    return InvoiceNumberFromText(text);
  } catch (const EMvError& e) {
    throw TValidationError(e.what());
  }
}

// The text arrives from the terminal (UTF-8); the messages are 8-bit.
int32_t BranchOption(const std::string& utf8, db::TdmMain& dm) {
  const std::string text = Utf8ToAnsi(utf8);
  const std::string refused = "Could not set value to Branch number " + text + ". Access denied.";
  int32_t branch = 0;
  try {
    branch = TextToInt(text);
  } catch (const EMvError&) {
    throw TValidationError(refused);
  }
  if (text.find_first_of("0123456789") == std::string::npos || branch < 0) throw TValidationError(refused);
  TStringIntList branches;
  dm.GetBranchNames(branches);
  for (const auto& [name, no] : branches)
    if (no == branch) return branch;
  throw TValidationError("Could not set value to Branch number " + std::to_string(branch) + ". Access denied.");
}

// The database path in UTF-8: as given, or the alias's (ANSI, as its store keeps it).
std::string DatabasePathUtf8(const TExportOptions& o, const TAliasResolver& resolveAlias) {
  if (o.alias.empty()) return o.database;
  if (!resolveAlias) throw TValidationError("Aliases are not available in this build; name the database with --database.");
  std::string path;
  try {
    path = resolveAlias(Utf8ToAnsi(o.alias));
  } catch (const EMvError& e) {
    throw TValidationError(e.what());
  }
  if (path.empty()) throw TValidationError("Please enter Alias Name.");
  return AnsiToUtf8(path);
}

// The mapping page's choices: saved ones, replaced by those the options give.
TSavedSettings MappingOptions(const TExportOptions& o, TSettingsStore* store) {
  TSavedSettings saved = store ? store->Load() : TSavedSettings::Defaults();
  if (!o.alias.empty()) saved.alias = Utf8ToAnsi(o.alias);  // saved with the rest by --save-settings
  if (o.categoryLetters) {
    long lost = 0;
    const std::string letters = Utf8ToAnsi(*o.categoryLetters, &lost);
    if (letters.size() != 10) throw TValidationError("--category-letters takes exactly ten characters, one per travel category.");
    if (lost != 0)
      throw TValidationError("--category-letters holds a character the import files' code page cannot hold; give ten letters.");
    static const char* const kCategories[11] = {"", "Air", "Hotel", "Car", "Cruise", "Tour", "Rail", "Transportation",
                                                "Insurance", "Service Fee", "Other"};
    for (std::size_t c = 1; c <= 10; ++c) {
      const unsigned char letter = static_cast<unsigned char>(letters[c - 1]);
      if (letter <= ' ' || letter == 0x7F)
        throw TValidationError("--category-letters: the letter for " + std::string(kCategories[c]) + " (character " +
                               std::to_string(c) + ") is blank.");
      saved.categoryLetters[c] = letters.substr(c - 1, 1);
    }
  }
  if (o.mapBy) saved.mapBy = *o.mapBy == "type" ? "Travel Type" : "Travel Category";
  if (o.itinerary) saved.itinMap = *o.itinerary == "vendor" ? 1 : 0;
  if (o.travelTypeMap) saved.travelTypeMap = Utf8ToAnsi(*o.travelTypeMap);
  if (o.allowLegacyLogin && !o.alias.empty()) AllowLegacyLogin(saved, Utf8ToAnsi(o.alias));
  return saved;
}

TCliSetup ReadInputs(const TExportOptions& o, const Env& env, TSettingsStore* store, const TAliasResolver& resolveAlias,
                     std::FILE* err) {
  TCliSetup s;
  s.pathUtf8 = DatabasePathUtf8(o, resolveAlias);
  if (const std::string problem = OutputFolderProblem(env.Files(), o.outputDir); !problem.empty())
    throw TValidationError(problem);
  std::string warning;
  s.password = ReadPassword(o.passwordEnv, o.passwordFile, warning);
  if (!warning.empty()) Say(err, warning);

  const TDateFormats formats = StartDateFormats(env.Regional());
  s.request.fromDate = DateOption(o.fromDate, formats, env, err);
  s.request.toDate = DateOption(o.toDate, formats, env, err);
  s.request.fromNumber = NumberOption(o.fromNumber);
  s.request.toNumber = NumberOption(o.toNumber);
  s.saved = MappingOptions(o, store);
  s.request.mapBy = UpperAscii(s.saved.mapBy) == "TRAVEL CATEGORY" ? TMapBy::TravelCategory : TMapBy::TravelType;
  s.request.itinerary = s.saved.itinMap == 0 ? TItinerary::ByTravelCategory : TItinerary::VendorName;
  for (std::size_t i = 0; i < 10; ++i) s.request.categoryLetters[i] = s.saved.categoryLetters[i + 1];
  return s;
}

// Connects and wipes the password; false with the reason said on `err`.
bool Connect(db::TdmMain& dm, const TExportOptions& o, TCliSetup& s, std::FILE* err, std::string& failure) {
  dm.AllowLegacyLogin = o.allowLegacyLogin || (!o.alias.empty() && LegacyLoginAllowed(s.saved, Utf8ToAnsi(o.alias)));
  if (dm.AllowLegacyLogin)
    Say(err, "Warning: the legacy login is allowed: a server that takes it gets the password's hash in a form a false "
             "server can collect.");
  std::string passwordAnsi = Utf8ToAnsi(s.password);
  const bool connected = dm.ConnectToDBUtf8(s.pathUtf8, Utf8ToAnsi(o.user), passwordAnsi);
  const bool passwordGiven = !s.password.empty();
  Wipe(s.password);
  Wipe(passwordAnsi);
  if (!connected) {
    failure = AsText(ConnectFailure(dm));
    return false;
  }
  if (passwordGiven && dm.OpenedByEmbeddedEngine())
    Say(err, "Note: the embedded engine opened the file directly and did not check the password; the file's permissions guard it.");
  return true;
}

// The first page's checks in the wizard's order, the branch against the
// database; then the mapping page's.
void CheckRequest(const TExportOptions& o, TExportRequest& request, db::TdmMain& dm) {
  if (o.branch) request.branch = 0;  // checked against the database below, after the ranges
  const TRequestCheck filters = CheckFilters(request);
  if (filters.fault == TRequestFault::DateRange || filters.fault == TRequestFault::NumberRange)
    throw TValidationError(filters.message);
  if (o.branch) request.branch = BranchOption(*o.branch, dm);
  if (filters.fault == TRequestFault::NoFilter && !o.all)
    throw TValidationError(filters.message + " All Invoices generated via Corvantine would be exported: add --all to export them all.");
  if (const TRequestCheck mapping = CheckMapping(request)) throw TValidationError(mapping.message);
}

void SayDone(std::FILE* out, const TExportOptions& o, const TExportSummary& s, double seconds) {
  const std::string acct = JoinPath(o.outputDir, "IMPACCT.DAT"), inv = JoinPath(o.outputDir, "IMPINV.DAT");
  std::fprintf(out, "Export Done.\n%s: %s\n", acct.c_str(), Counted(s.accountLines, "account line", "account lines").c_str());
  std::fprintf(out, "%s: %s (01), %s (02), %s (03), %s (03 101)\n", inv.c_str(),
               Counted(s.bookingLines, "booking line", "booking lines").c_str(),
               Counted(s.segmentLines, "segment line", "segment lines").c_str(),
               Counted(s.udidLines, "UDID line", "UDID lines").c_str(),
               Counted(s.paymentRefLines, "payment-reference line", "payment-reference lines").c_str());
  std::fprintf(out, "Elapsed: %.1f s\n", seconds);
}

// Runs the export; the summary and whether the files were put in place go to `report`.
void RunAndReport(const TExportOptions& o, const Env& env, TSettingsStore* store, db::TdmMain& dm, TCliSetup& s,
                  const TStringGrid& grid, std::FILE* err, TRunReport& report) {
  TTerminalView view(err, IsTerminal(err));
  db::TDbExportSource source(dm);
  TExportRun run(source, view, env);
  run.FixedOutputDir = o.outputDir;
  auto save = [&] {
    report.filesWritten = true;
    if (!o.saveSettings) return;
    report.settingsSaved = false;
    try {
      if (!store) throw EMvError("Settings cannot be saved in this build.");
      s.saved.travelTypeMap = BuildTravelTypeMap(grid);
      store->Save(s.saved);
      report.settingsSaved = true;
    } catch (const EMvError& e) {
      throw EMvError(std::string(e.what()) + "\nThe import files IMPACCT.DAT and IMPINV.DAT in " + Utf8ToAnsi(o.outputDir) +
                     " are complete; only the settings were not saved.");
    }
  };
  run.StopReason = &TStopSignals::Reason;
  try {
    run.RunExport(SettingsForRun(s.request, grid), save);
  } catch (...) {
    view.Finish();
    report.summary = run.Summary;
    if (!report.summary.recovery.empty()) Say(err, "Note: " + report.summary.recovery);
    throw;
  }
  view.Finish();
  report.summary = run.Summary;
  if (!report.summary.recovery.empty()) Say(err, "Note: " + report.summary.recovery);
}

int RunExportCommand(const TExportOptions& o, const Env& env, TSettingsStore* store, const TAliasResolver& resolveAlias,
                     std::FILE* out, std::FILE* err, TRunReport& report) {
  auto fail = [&](int status, const std::string& text) {
    Say(err, "invoice-export: " + text);
    report.error = text;
    return status;
  };
  const auto started = std::chrono::steady_clock::now();
  db::TdmMain dm;
  // A signal cancels the statement that is running: the stop comes at once.
  TStopSignals stopSignals([&dm] { dm.ZAMDatabase.CancelOperation(); });
  try {
    TCliSetup setup = ReadInputs(o, env, store, resolveAlias, err);
    // The dates as read, before anything else can go wrong: never misread unseen.
    report.fromDate = setup.request.fromDate;
    report.toDate = setup.request.toDate;
    Say(err, IssueDateRangeText(setup.request.fromDate, setup.request.toDate));
    std::string failure;
    const bool connected = Connect(dm, o, setup, err, failure);
    if (!TStopSignals::Reason().empty())
      return fail(1, "The export was stopped: " + TStopSignals::Reason() + "\nNothing was changed.");
    if (!connected) return fail(1, failure);
    CheckRequest(o, setup.request, dm);
    TStringGrid grid;
    std::string map = setup.saved.travelTypeMap;
    FillTravelTypeGrid(grid, dm, map);
    RunAndReport(o, env, store, dm, setup, grid, err, report);
    SayDone(out, o, report.summary, std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    const std::string replaced = ReplacedCharactersText(report.summary.losses);
    if (!replaced.empty()) Say(err, "Warning: " + replaced);
    dm.ZAMDatabase.SetConnected(false);
    return 0;
  } catch (const TUsageError& e) {
    std::fprintf(err, "invoice-export: %s\n", e.what());
    report.error = e.what();
    return 2;
  } catch (const TValidationError& e) {
    return fail(2, e.what());
  } catch (const db::EDatabaseError& e) {
    // Every such error comes after the connection, before the files go in place.
    TMessage m = RunFailure(e, &dm);
    m.text += "\nThe previous import files are unchanged.";
    return fail(1, AsText(m));
  } catch (const std::exception& e) {
    return fail(1, e.what());
  }
}

}  // namespace

int RunExportCommand(const std::vector<std::string>& args, const Env& env, TSettingsStore* store,
                     const TAliasResolver& resolveAlias, std::FILE* out, std::FILE* err) {
  const auto started = std::chrono::steady_clock::now();
  TRunReport report;
  report.version = IEX_VERSION;
  report.startedAt = UtcNowIso();
  const std::optional<std::string> summary = SummaryFileOf(args);
  TExportOptions o;
  try {
    o = ParseExportOptions(args);
    report.outputDir = o.outputDir;
    // Found before the export, not after the pair was replaced: a summary with nowhere to go.
    if (summary) {
      std::error_code ec;
      const std::filesystem::path folder = PathOfText(*summary).parent_path();
      if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
        throw TUsageError("The folder of --summary-json " + ShownPath(*summary) +
                          " does not exist. Create it or name another file.");
    }
    const TNoCoreDumps noCoreDumps;  // for the run's length: the password is in memory
    report.status = RunExportCommand(o, env, store, resolveAlias, out, err, report);
  } catch (const TUsageError& e) {
    std::fprintf(err, "invoice-export: %s\n%s", e.what(), kExportUsage);
    report.status = 2;
    report.error = e.what();
  }
  report.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  report.endedAt = UtcNowIso();
  if (summary) {
    try {
      // Readable by a monitoring user of the group; a link at the name is replaced, never written through.
      TAtomicWrite how;
      how.newMode = 0640;
      how.followLinks = false;
      WriteFileAtomically(*summary, RunReportJson(report), how);
    } catch (const std::exception& e) {
      Say(err, "The summary cannot be written to " + ShownPath(*summary) + ": " + e.what());
      if (report.status == 0) return 1;
    }
  }
  return report.status;
}

}  // namespace iex
