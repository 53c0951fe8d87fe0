#include "app/MainController.h"

#include "export/ExportRequest.h"
#include "export/OutputFolder.h"

#include <cstdio>
#include <sstream>

#include "app/FailureMessages.h"
#include "app/RequestBuilder.h"
#include "app/TravelTypeGrid.h"
#include "app/ProgressText.h"
#include "db/DbExportSource.h"
#include "db/PathRules.h"
#include "platform/AnsiText.h"
#include "platform/Error.h"
#include "platform/PathText.h"
#include "util/NumberText.h"

namespace iex {

const TLetterField kLetterFields[10] = {{TElement::eAir, 1},  {TElement::eCar, 3},   {TElement::eCruise, 4},
                                        {TElement::eHotel, 2}, {TElement::eIns, 8},  {TElement::eRail, 6},
                                        {TElement::eTour, 5},  {TElement::eTrans, 7}, {TElement::eServ, 9},
                                        {TElement::eOther, 10}};

std::string GetVersionText(const std::string& version) {
  int parts[4] = {0, 0, 0, 0};
  if (version.empty() || std::sscanf(version.c_str(), "%d.%d.%d.%d", &parts[0], &parts[1], &parts[2], &parts[3]) < 1)
    return "<none>";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d.%02d.%02d.%03d", parts[0], parts[1], parts[2], parts[3]);
  return buf;
}

TfmMain::TfmMain(TMainView& view, const Env& env, const RegionalSettings& settings, const DateOrder& order,
                 TSettingsStore& store, std::string version)
    : edStartInvDate(env, settings, order),
      edEndInvDate(env, settings, order),
      view_(view),
      env_(env),
      store_(store),
      version_(std::move(version)) {
  for (TNumEdit* e : {&edStartInvNo, &edEndInvNo}) ConfigureInvoiceNumberEdit(*e);
  cbBranch.OnDropDown = [this] { cbBranchDropDown(); };
}

TfmMain::~TfmMain() = default;

void TfmMain::HandleError(const std::exception& e) { view_.ShowMessage(RunFailure(e, dmMain)); }

template <typename F>
void TfmMain::Guarded(F f) {
  try {
    f();
  } catch (const std::exception& e) {
    HandleError(e);
  }
}

void TfmMain::FormCreate() {
  Guarded([&] {
    view_.SetText(TElement::gbVersion, "Version " + GetVersionText(version_));
    view_.ShowPage(TPage::tsVersion);
    view_.SetText(TElement::bExport, "Next");
    AList = std::make_unique<TAliasList>(true, TAliasDBType::adtIB, env_.Paths(), [this](const std::string& q) {
      return view_.ShowMessageBox(TMsgKind::Warning, q, TMsgButtons::YesNo) == TMsgResult::Yes;
    });
    RefreshAliasList();
  });
}

void TfmMain::RefreshAliasList() {
  std::vector<std::string> lines;
  AList->GetAliasDisplayNames(lines);  // in the list's own order, by name
  const std::string chosen = view_.ItemIndex(TElement::cbAlias) >= 0 ? view_.Text(TElement::cbAlias) : std::string();
  view_.SetItems(TElement::cbAlias, lines);
  // Keep the line chosen before when it is still there.
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (!chosen.empty() && lines[i] == chosen) view_.SetItemIndex(TElement::cbAlias, static_cast<int>(i));
  // An alias store that could not be seeded or read: said once, the list still shown.
  for (const std::string& warning : AList->TakeWarnings()) view_.ShowMessageBox(TMsgKind::Warning, warning, TMsgButtons::OK);
}

void TfmMain::FormShow() {
  Guarded([&] {
    LoadSettings();
    UpdateAliasPath();
    view_.Focus(TElement::cbAlias);
  });
}

void TfmMain::cbAliasDropDown() {
  Guarded([&] { RefreshAliasList(); });
}

void TfmMain::cbAliasChange() {
  Guarded([&] { UpdateAliasPath(); });
}

void TfmMain::UpdateAliasPath() {
  view_.SetText(TElement::edUserName, "SYSDBA");
  std::string path;
  const std::string alias = view_.Text(TElement::cbAlias);
  // The line chosen, a scope suffix included; never a silent pick among names alike.
  std::string unresolved;
  if (!alias.empty() && view_.ItemIndex(TElement::cbAlias) >= 0) {
    const int i = AList->ResolveAliasName(alias, unresolved);
    if (i >= 0) path = AList->AliasPath(i);
  }
  view_.SetText(TElement::edPath, path);
  const char* suffix = "  (Local)";
  switch (db::GetPathConnectionType(path)) {
    case db::TConnectionType::ctTCPIP: suffix = "  (TCP/IP)"; break;
    case db::TConnectionType::ctNetBEUI: suffix = "  (NetBEUI)"; break;
    default: break;
  }
  view_.SetHint(TElement::edPath, path + suffix);
}

namespace {

int IndexOfText(const std::vector<std::string>& items, const std::string& text) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (UpperAscii(items[i]) == UpperAscii(text)) return static_cast<int>(i);
  return -1;
}

}  // namespace

void ConfigureInvoiceNumberEdit(TNumEdit& e) {
  e.SetLeadZeros(false);
  e.SetAllowBlank(false);
  e.SetIsBlank(false);
  e.SetBlankZero(true);
  e.SetMin(0);
  e.SetMax(kMaxInvoiceNumber);
}

void TfmMain::LoadSettings() {
  // The values read before one that cannot be read are applied; then the error shows.
  std::string error;
  const TSavedSettings s = store_.Load(&error);
  view_.SetItemIndex(TElement::cbAlias, IndexOfText(view_.Items(TElement::cbAlias), s.alias));
  for (const TLetterField& f : kLetterFields) view_.SetText(f.element, s.categoryLetters[static_cast<std::size_t>(f.category)]);
  TravelTypeMap = s.travelTypeMap;
  rememberedFolder_ = AnsiToUtf8(s.outputDir);
  view_.SetItemIndex(TElement::cbMapBy, IndexOfText(view_.Items(TElement::cbMapBy), s.mapBy));
  view_.SetItemIndex(TElement::cbItinMap, (s.itinMap == 0 || s.itinMap == 1) ? s.itinMap : -1);
  if (!error.empty()) throw EMvError(error);
}

void TfmMain::SaveSettings() {
  TravelTypeMap = BuildTravelTypeMap(gTravelType);
  TSavedSettings s;
  s.alias = view_.Text(TElement::cbAlias);
  for (const TLetterField& f : kLetterFields) s.categoryLetters[static_cast<std::size_t>(f.category)] = view_.Text(f.element);
  s.mapBy = view_.Text(TElement::cbMapBy);
  s.travelTypeMap = TravelTypeMap;
  s.itinMap = view_.ItemIndex(TElement::cbItinMap);
  // A folder the clerk chose is where the chooser opens next time.
  if (run_ && run_->OutputDir != env_.FileSystemRoot() + TExportRun::kDefaultOutputDir) rememberedFolder_ = run_->OutputDir;
  s.outputDir = Utf8ToAnsi(rememberedFolder_);
  store_.Save(s);
}

void TfmMain::RememberFolder() noexcept {
  try {
    std::string unread;
    TSavedSettings s = store_.Load(&unread);
    if (!unread.empty()) return;  // settings that could not all be read are not written back
    s.outputDir = Utf8ToAnsi(rememberedFolder_);
    store_.Save(s);
  } catch (...) {
    // Only where the chooser opens: the run's own outcome is what the clerk hears of.
  }
}

void TfmMain::FillTravelTypeGrid() {
  iex::FillTravelTypeGrid(gTravelType, *dmMain, TravelTypeMap);
  view_.GridChanged();
}

void TfmMain::cbMapByChange() {
  Guarded([&] {
    const int index = view_.ItemIndex(TElement::cbMapBy);
    view_.ShowPanel(TPanel::pTravelCat, index == 0);
    view_.ShowPanel(TPanel::pTravelType, index == 1);
  });
}

TMessage TfmMain::ConnectFailureMessage() const {
  if (!dmMain) return {TMsgKind::Error, "Unable to connect to database.", TMsgButtons::OK, std::string(), false};
  return ConnectFailure(*dmMain);
}

bool TfmMain::ConnectFromPage() {
  const std::string alias = view_.Text(TElement::cbAlias);
  std::string unread;
  TSavedSettings saved = store_.Load(&unread);
  dmMain->AllowLegacyLogin = LegacyLoginAllowed(saved, alias);
  auto connect = [&] {
    return dmMain->ConnectToDB(view_.Text(TElement::edPath), view_.Text(TElement::edUserName),
                               view_.Text(TElement::edPassword));
  };
  bool connected = connect();
  // A server that takes only the legacy login (Firebird 2.5) is reached
  // with it only when the clerk allows it for this alias, warned of the cost.
  if (!connected && dmMain->LastConnectRefusedLogin && !alias.empty() &&
      view_.ShowMessage({TMsgKind::Warning,
                         "The server of alias " + alias + " refused the login: it may take only the legacy login of "
                         "older Firebird servers.\nAllow the legacy login for this alias? The password's hash then "
                         "crosses the network in a form a false server can collect.",
                         TMsgButtons::YesNo, std::string(), true}) == TMsgResult::Yes) {
    AllowLegacyLogin(saved, alias);
    if (unread.empty()) store_.Save(saved);  // settings that could not all be read are not written back
    dmMain->AllowLegacyLogin = true;
    connected = connect();
  }
  if (connected && dmMain->AllowLegacyLogin)
    view_.SetText(TElement::lStatus, "Legacy login allowed for " + alias + ": a false server could collect the password's hash.");
  if (connected && OnConnected) OnConnected();
  return connected;
}

void TfmMain::bExportClick() {
  if (running_) return;
  Guarded([&] {
    if (view_.CurrentPage() == TPage::tsVersion)
      NextPage();
    else
      ExportPage();
  });
}

void TfmMain::NextPage() {
  // After a message the keyboard goes to the field concerned.
  auto message = [&](TMsgKind kind, const std::string& text, TElement field) {
    view_.ShowMessageBox(kind, text, TMsgButtons::OK);
    view_.Focus(field);
  };
  if (view_.Text(TElement::edPath).empty()) return message(TMsgKind::Information, "Please enter Alias Name.", TElement::cbAlias);
  if (view_.Text(TElement::edPassword).empty())
    return message(TMsgKind::Information, "Please enter Password.", TElement::edPassword);
  if (!ConnectFromPage()) {
    view_.ShowMessage(ConnectFailureMessage());
    return view_.Focus(TElement::edPassword);
  }
  const TRequestCheck check = CheckFilters(RequestFromPages());
  if (check.fault == TRequestFault::DateRange) return message(TMsgKind::Error, check.message, TElement::edStartInvDate);
  if (check.fault == TRequestFault::NumberRange) return message(TMsgKind::Error, check.message, TElement::edStartInvNo);
  if (check.fault == TRequestFault::NoFilter) {
    const TMsgResult answer = view_.ShowMessageBox(
        TMsgKind::Warning,
        "No filter criteria selected. All Invoices generated via Corvantine will be exported. Continue?",
        TMsgButtons::YesNoCancel);
    if (answer != TMsgResult::Yes) return;
  }
  cbMapByChange();
  FillTravelTypeGrid();
  view_.ShowPage(TPage::tsMapping);
  view_.SetText(TElement::bExport, "Export");
}

TExportRequest TfmMain::RequestFromPages() {
  TExportRequest r;
  if (!edStartInvDate.Box.GetEditText().empty()) r.fromDate = edStartInvDate.Date();
  if (!edEndInvDate.Box.GetEditText().empty()) r.toDate = edEndInvDate.Date();
  r.fromNumber = edStartInvNo.Value();
  r.toNumber = edEndInvNo.Value();
  if (!cbBranch.Text().empty()) r.branch = cbBranch.CurrentBranchNo();
  // No choice (-1) maps by travel type and names the vendor, as any index but 0 does.
  r.mapBy = view_.ItemIndex(TElement::cbMapBy) == 0 ? TMapBy::TravelCategory : TMapBy::TravelType;
  r.itinerary = view_.ItemIndex(TElement::cbItinMap) == 0 ? TItinerary::ByTravelCategory : TItinerary::VendorName;
  for (const TLetterField& f : kLetterFields)
    r.categoryLetters[static_cast<std::size_t>(f.category - 1)] = view_.Text(f.element);
  return r;
}

void TfmMain::ExportPage() {
  if (running_) return;
  view_.CommitEdits();  // what is exported is what is saved
  const TExportRequest request = RequestFromPages();
  if (const TRequestCheck check = CheckMapping(request)) {
    view_.ShowMessageBox(TMsgKind::Error, check.message, TMsgButtons::OK);
    for (const TLetterField& f : kLetterFields)
      if (f.category == check.letter + 1) view_.Focus(f.element);
    return;
  }
  RunExport(SettingsForRun(request, gTravelType),
            [this](bool done, std::exception_ptr error) { ExportFinished(done, error); });
}

void TfmMain::ExportFinished(bool done, std::exception_ptr error) {
  // A folder the clerk chose is where the chooser opens next time, whatever the run's end.
  if (run_ && !run_->OutputDir.empty() && run_->OutputDir != env_.FileSystemRoot() + TExportRun::kDefaultOutputDir &&
      run_->OutputDir != rememberedFolder_) {
    rememberedFolder_ = run_->OutputDir;
    RememberFolder();
  }
  if (error) {
    try {
      std::rethrow_exception(error);
    } catch (const EExportStopped&) {
      view_.SetText(TElement::lStatus, "Export stopped.");
      view_.SetText(TElement::lStatusNo, "The previous import files are unchanged.");
      if (closeWhenStopped_) view_.CloseWindow();
    } catch (const std::exception& e) {
      // The window is ending: nobody is left to read a message.
      if (closeWhenStopped_ || signalled_) view_.CloseWindow();
      else HandleError(e);
    }
    closeWhenStopped_ = false;
    return;
  }
  closeWhenStopped_ = false;
  if (done) {
    const TExportSummary& s = run_->Summary;
    view_.SetText(TElement::lStatus, "Export Done.");
    view_.SetText(TElement::lStatusNo, Counted(s.accountLines, "account line", "account lines") + ", " +
                                           Counted(s.bookingLines, "booking", "bookings") + " in " + ShownPath(run_->OutputDir));
    view_.ShowMessageBox(s.losses.values ? TMsgKind::Warning : TMsgKind::Information,
                         "Export Done.\n" + ShownPath(JoinPath(run_->OutputDir, "IMPACCT.DAT")) + ": " +
                             std::to_string(s.accountLines) + " lines\n" + ShownPath(JoinPath(run_->OutputDir, "IMPINV.DAT")) + ": " +
                             std::to_string(s.bookingLines + s.segmentLines + s.udidLines + s.paymentRefLines) + " lines" +
                             (s.losses.values ? "\n\n" + ReplacedCharactersText(s.losses) : std::string()) +
                             (s.recovery.empty() ? std::string() : "\n\n" + s.recovery),
                         TMsgButtons::OK);
  }
  view_.CloseWindow();
}

void TfmMain::RunExport(const ExportSettings& settings, std::function<void(bool, std::exception_ptr)> finished) {
  if (!run_) {
    if (MakeSource) source_ = MakeSource();
    else source_ = std::make_unique<db::TDbExportSource>(*dmMain);
    run_ = std::make_unique<TExportRun>(*source_, static_cast<TExportView&>(*this), env_);
    run_->StopReason = [this] {
      if (signalled_) return std::string("the window was told to end");
      return stopAsked_ ? std::string("stopped by the user") : std::string();
    };
    run_->CountInvoices = true;  // the window's progress bar has a total
  }
  run_->ChooserStart =
      !rememberedFolder_.empty() && OutputFolderProblem(env_.Files(), rememberedFolder_).empty() ? rememberedFolder_ : "";
  running_ = true;
  stopAsked_ = false;
  {
    std::lock_guard<std::mutex> lock(progressMutex_);
    progress_ = TExportProgress{};
    clockRunning_ = false;
    runStart_ = runEnd_ = std::chrono::steady_clock::now();
  }
  view_.EnableButton(TElement::bStop, true);
  view_.LockInputs(true);
  auto done = std::make_shared<bool>(false);
  view_.RunInBackground(
      [this, settings, done] {
        *done = run_->RunExport(settings, [this] { view_.CallOnUiThread([this] { SaveSettings(); }); });
      },
      [this, done, finished](std::exception_ptr error) {
        running_ = false;
        view_.EnableButton(TElement::bStop, false);
        view_.LockInputs(false);
        view_.EnableButton(TElement::bExport, true);
        finished(*done, error);
      });
}

void TfmMain::bStopClick() {
  if (!running_) return;
  stopAsked_ = true;
  // A query that has not yet given its first row is ended too.
  if (source_) source_->Cancel();
}

TRunProgress TfmMain::Progress() const {
  std::lock_guard<std::mutex> lock(progressMutex_);
  TRunProgress p{progress_, 0};
  const auto end = clockRunning_ && running_ ? std::chrono::steady_clock::now() : runEnd_;
  p.elapsedSeconds = std::chrono::duration<double>(end - runStart_).count();
  return p;
}

void TfmMain::ShowProgress(const TExportProgress& progress) {
  std::lock_guard<std::mutex> lock(progressMutex_);
  const auto now = std::chrono::steady_clock::now();
  // The clock starts with the first query, not while the folder chooser is open.
  if (!clockRunning_ && progress.phase != TExportPhase::Starting) {
    clockRunning_ = true;
    runStart_ = now;
  }
  const bool ended = progress.phase == TExportPhase::Done || progress.phase == TExportPhase::Stopped ||
                     progress.phase == TExportPhase::Failed;
  if (ended && clockRunning_) runEnd_ = now;
  if (ended) clockRunning_ = false;
  progress_ = progress;
}

void TfmMain::EnableExport(bool enabled) {
  view_.CallOnUiThread([&] { view_.EnableButton(TElement::bExport, enabled); });
}

bool TfmMain::ChooseFolder(const std::string& start, std::string& chosen) {
  bool ok = false;
  view_.CallOnUiThread([&] { ok = view_.ChooseFolder(start, chosen); });
  return ok;
}

void TfmMain::cbBranchDropDown() {
  Guarded([&] {
    if (cbBranch.Items.size() > 1) return;
    if (!dmMain->ZAMDatabase.Connected() && !ConnectFromPage()) {
      view_.ShowMessage(ConnectFailureMessage());
      return;
    }
    BranchCache.Lines().clear();
    dmMain->GetBranchNames(BranchCache.Lines());
    cbBranch.SetBranchBuffer(&BranchCache);
    dmMain->ZAMDatabase.SetConnected(false);
  });
}

void TfmMain::bExitClick() { view_.CloseWindow(); }

void TfmMain::EndWithoutAsking() {
  if (!running_) return view_.CloseWindow();
  closeWhenStopped_ = true;
  bStopClick();
}

bool TfmMain::FormCloseQuery() {
  if (running_) {
    // Closing under a run would pull the database from beneath it: ask, and
    // on Yes stop it and close once it has ended.
    // No is what Enter gives: a stray key never ends a long export.
    if (view_.ShowMessage({TMsgKind::Warning, "Stop the export and close?", TMsgButtons::YesNo, std::string(), true}) ==
        TMsgResult::Yes) {
      closeWhenStopped_ = true;
      bStopClick();
    }
    return false;
  }
  if (dmMain) dmMain->Disconnect();
  return true;
}

}  // namespace iex
