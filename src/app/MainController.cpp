#include "app/MainController.h"

#include "export/ExportRequest.h"

#include <cstdio>
#include <sstream>

#include "app/TravelTypeGrid.h"
#include "db/PathRules.h"
#include "platform/Error.h"
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

void TfmMain::HandleError(const std::exception& e) { view_.ShowMessageBox(TMsgKind::Error, e.what(), TMsgButtons::OK); }

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
  if (!alias.empty() && view_.ItemIndex(TElement::cbAlias) >= 0) path = AList->GetPathForAliasName(alias);
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
  store_.Save(s);
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

std::string TfmMain::ConnectFailureText() const {
  const std::string reason = dmMain ? dmMain->LastConnectError : std::string();
  return "Unable to connect to database." + (reason.empty() ? std::string() : "\n" + reason);
}

bool TfmMain::ConnectFromPage() {
  return dmMain->ConnectToDB(view_.Text(TElement::edPath), view_.Text(TElement::edUserName), view_.Text(TElement::edPassword));
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
  if (!ConnectFromPage()) return message(TMsgKind::Error, ConnectFailureText(), TElement::edPassword);
  TExportRequest request;
  if (!edStartInvDate.Box.GetEditText().empty()) request.fromDate = edStartInvDate.Date();
  if (!edEndInvDate.Box.GetEditText().empty()) request.toDate = edEndInvDate.Date();
  request.fromNumber = edStartInvNo.Value();
  request.toNumber = edEndInvNo.Value();
  if (!cbBranch.Text().empty()) request.branch = cbBranch.CurrentBranchNo();
  const TRequestCheck check = CheckFilters(request);
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

ExportSettings TfmMain::CollectSettings() {
  ExportSettings s;
  s.StartInvNo = static_cast<double>(edStartInvNo.Value());
  s.EndInvNo = static_cast<double>(edEndInvNo.Value());
  s.StartInvDate = edStartInvDate.Date();
  s.EndInvDate = edEndInvDate.Date();
  s.BranchNo = cbBranch.CurrentBranchNo();
  s.MapBy = view_.ItemIndex(TElement::cbMapBy);
  for (const TLetterField& f : kLetterFields) s.CategoryLetters[static_cast<std::size_t>(f.category)] = view_.Text(f.element);
  TravelTypeLettersFromGrid(gTravelType, s);
  s.ItinMap = view_.ItemIndex(TElement::cbItinMap);
  return s;
}

void TfmMain::ExportPage() {
  if (running_) return;
  TExportRequest request;
  for (const TLetterField& f : kLetterFields)
    request.categoryLetters[static_cast<std::size_t>(f.category - 1)] = view_.Text(f.element);
  if (const TRequestCheck check = CheckMapping(request)) {
    view_.ShowMessageBox(TMsgKind::Error, check.message, TMsgButtons::OK);
    for (const TLetterField& f : kLetterFields)
      if (f.category == check.letter + 1) view_.Focus(f.element);
    return;
  }
  RunExport(CollectSettings(), [this](bool done, std::exception_ptr error) { ExportFinished(done, error); });
}

void TfmMain::ExportFinished(bool done, std::exception_ptr error) {
  if (error) {
    try {
      std::rethrow_exception(error);
    } catch (const EExportStopped&) {
      view_.SetText(TElement::lStatus, "Export stopped.");
      view_.SetText(TElement::lStatusNo, "The previous import files are unchanged.");
      if (closeWhenStopped_) view_.CloseWindow();
    } catch (const std::exception& e) {
      HandleError(e);
    }
    closeWhenStopped_ = false;
    return;
  }
  closeWhenStopped_ = false;
  if (done) {
    const TExportSummary& s = run_->Summary;
    view_.SetText(TElement::lStatus, "Export Done.");
    view_.SetText(TElement::lStatusNo, std::to_string(s.accountLines) + " account lines, " +
                                           std::to_string(s.bookingLines) + " bookings in " + run_->OutputDir);
    view_.ShowMessageBox(TMsgKind::Information,
                         "Export Done.\n" + run_->OutputDir + "/IMPACCT.DAT: " + std::to_string(s.accountLines) +
                             " lines\n" + run_->OutputDir + "/IMPINV.DAT: " +
                             std::to_string(s.bookingLines + s.segmentLines + s.udidLines + s.paymentRefLines) + " lines",
                         TMsgButtons::OK);
  }
  view_.CloseWindow();
}

void TfmMain::RunExport(const ExportSettings& settings, std::function<void(bool, std::exception_ptr)> finished) {
  if (!run_) {
    run_ = std::make_unique<TExportRun>(*dmMain, static_cast<TExportView&>(*this), env_);
    run_->StopReason = [this] { return stopAsked_ ? std::string("stopped by the user") : std::string(); };
  }
  running_ = true;
  stopAsked_ = false;
  {
    std::lock_guard<std::mutex> lock(progressMutex_);
    progress_ = TRunProgress{};
    progress_.phase = "Counting invoices";
  }
  runStart_ = std::chrono::steady_clock::now();
  view_.EnableButton(TElement::bStop, true);
  view_.LockInputs(true);
  auto done = std::make_shared<bool>(false);
  view_.RunInBackground(
      [this, settings, done] {
        SetInvoiceTotal(dmMain->CountInvoices(InvoiceFilter(settings)));
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
  if (dmMain) dmMain->ZAMDatabase.CancelOperation();
}

TRunProgress TfmMain::Progress() const {
  std::lock_guard<std::mutex> lock(progressMutex_);
  TRunProgress p = progress_;
  if (running_) p.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - runStart_).count();
  return p;
}

void TfmMain::SetStatusText(const std::string& text) {
  std::lock_guard<std::mutex> lock(progressMutex_);
  progress_.statusText = text;
  progress_.number.clear();
  if (text == "Exporting Profile No:") progress_.phase = "Reading profiles";
  else if (text == "Exporting Invoice No:") progress_.phase = "Reading invoices";
  else if (text.empty() && progress_.phase == "Writing invoices") progress_.phase = "Putting the files in place";
}

void TfmMain::SetStatusNumber(const std::string& text) {
  std::lock_guard<std::mutex> lock(progressMutex_);
  if (text.empty()) {
    progress_.number.clear();
    return;
  }
  if (progress_.phase == "Reading profiles") progress_.phase = "Writing accounts";
  if (progress_.phase == "Reading invoices") progress_.phase = "Writing invoices";
  if (progress_.phase == "Writing invoices" && text != progress_.number) ++progress_.invoicesDone;
  progress_.number = text;
}

void TfmMain::SetInvoiceTotal(long total) {
  std::lock_guard<std::mutex> lock(progressMutex_);
  progress_.invoicesTotal = total;
}

void TfmMain::EnableExport(bool enabled) {
  view_.CallOnUiThread([&] { view_.EnableButton(TElement::bExport, enabled); });
}

bool TfmMain::ChooseFolder(const std::string& start, std::string& chosen) {
  bool ok = false;
  view_.CallOnUiThread([&] { ok = view_.ChooseFolder(start, chosen); });
  return ok;
}

void TfmMain::ShowError(const std::string& text) {
  view_.CallOnUiThread([&] { view_.ShowMessageBox(TMsgKind::Error, text, TMsgButtons::OK); });
}

void TfmMain::cbBranchDropDown() {
  Guarded([&] {
    if (cbBranch.Items.size() > 1) return;
    if (!dmMain->ZAMDatabase.Connected() && !ConnectFromPage()) {
      view_.ShowMessageBox(TMsgKind::Error, ConnectFailureText(), TMsgButtons::OK);
      return;
    }
    BranchCache.Lines().clear();
    dmMain->GetBranchNames(BranchCache.Lines());
    cbBranch.SetBranchBuffer(&BranchCache);
    dmMain->ZAMDatabase.SetConnected(false);
  });
}

void TfmMain::bExitClick() { view_.CloseWindow(); }

bool TfmMain::FormCloseQuery() {
  if (running_) {
    // Closing under a run would pull the database from beneath it: ask, and
    // on Yes stop it and close once it has ended.
    if (view_.ShowMessageBox(TMsgKind::Warning, "Stop the export and close?", TMsgButtons::YesNo) == TMsgResult::Yes) {
      closeWhenStopped_ = true;
      bStopClick();
    }
    return false;
  }
  try {
    if (dmMain && dmMain->ZAMDatabase.Connected()) dmMain->ZAMDatabase.SetConnected(false);
  } catch (const std::exception&) {
  }
  return true;
}

}  // namespace iex
