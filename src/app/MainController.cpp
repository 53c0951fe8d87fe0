#include "app/MainController.h"

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
  auto message = [&](TMsgKind kind, const char* text) { view_.ShowMessageBox(kind, text, TMsgButtons::OK); };
  if (view_.Text(TElement::edPath).empty()) return message(TMsgKind::Information, "Please enter Alias Name.");
  if (view_.Text(TElement::edPassword).empty()) return message(TMsgKind::Information, "Please enter Password.");
  if (!ConnectFromPage()) return message(TMsgKind::Error, ConnectFailureText().c_str());
  const double start = edStartInvDate.Date(), end = edEndInvDate.Date();
  if (start > 0 && end > 0 && end < start) return message(TMsgKind::Error, "Invalid Invoice Date Range.");
  const int64_t from = edStartInvNo.Value(), to = edEndInvNo.Value();
  if (from > 0 && to > 0 && to < from) return message(TMsgKind::Error, "Invalid Invoice Number Range.");
  if (edStartInvDate.Box.GetEditText().empty() && edEndInvDate.Box.GetEditText().empty() && from == 0 && to == 0 &&
      cbBranch.Text().empty()) {
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
  for (const TLetterField& f : kLetterFields)
    if (view_.Text(f.element).empty()) {
      view_.ShowMessageBox(TMsgKind::Error, "Please enter mapping for all Travel Category.", TMsgButtons::OK);
      return;
    }
  const ExportSettings settings = CollectSettings();
  if (RunExport(settings)) {
    view_.SetText(TElement::lStatus, "Export Done.");
    view_.ShowMessageBox(TMsgKind::Information, "Export Done.", TMsgButtons::OK);
  }
  view_.CloseWindow();
}

bool TfmMain::RunExport(const ExportSettings& settings) {
  if (!run_) run_ = std::make_unique<TExportRun>(*dmMain, static_cast<TExportView&>(*this), env_);
  running_ = true;
  try {
    const bool done = run_->RunExport(settings, [this] { SaveSettings(); });
    running_ = false;
    return done;
  } catch (...) {
    running_ = false;
    throw;
  }
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
  // The run lets the window's events through; closing under it would pull
  // the database from beneath the files being written.
  if (running_) return false;
  try {
    if (dmMain && dmMain->ZAMDatabase.Connected()) dmMain->ZAMDatabase.SetConnected(false);
  } catch (const std::exception&) {
  }
  return true;
}

}  // namespace iex
