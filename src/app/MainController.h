#pragma once
#include <memory>
#include <string>

#include "aliases/AliasList.h"
#include "app/MainView.h"
#include "app/SavedSettings.h"
#include "controls/BranchComboBox.h"
#include "controls/DateEdit.h"
#include "controls/NumEdit.h"
#include "db/DataModule.h"
#include "export/ExportRun.h"
#include "util/StringGrid.h"

namespace iex {

// "Version " + the program's version as 1.00.02.015, or "<none>".
std::string GetVersionText(const std::string& version);

// The main window's logic: the two wizard pages, their checks and messages,
// the alias choice, the saved settings and the export run. The window is a
// view; this holds no toolkit.
// The invoice-number fields: 0 shown blank, 0 to kMaxInvoiceNumber; the
// command line checks its numbers through the same field.
void ConfigureInvoiceNumberEdit(TNumEdit& e);

class TfmMain : private TExportView {
 public:
  TfmMain(TMainView& view, const Env& env, const RegionalSettings& settings, const DateOrder& order,
          TSettingsStore& store, std::string version);
  ~TfmMain() override;

  // The input controls' logic, bound to the window's widgets.
  TMvDateEdit edStartInvDate, edEndInvDate;
  TNumEdit edStartInvNo, edEndInvNo;
  TIBBranchComboBox cbBranch;
  TOpStrings BranchCache;
  TStringGrid gTravelType;
  std::string TravelTypeMap;
  std::unique_ptr<TAliasList> AList;
  db::TdmMain* dmMain = nullptr;  // exists from after FormCreate on

  // Events. Each runs under the general error handler: an error's text is
  // shown and the window stays as it was.
  void FormCreate();
  void AttachDataModule(db::TdmMain& dm) { dmMain = &dm; }
  void FormShow();
  void cbAliasDropDown();
  void cbAliasChange();
  void bExportClick();
  void bExitClick();
  void cbBranchDropDown();
  void cbMapByChange();
  bool FormCloseQuery();  // false while an export runs
  bool ExportRunning() const { return running_; }

  void UpdateAliasPath();
  void RefreshAliasList();
  void LoadSettings();
  void SaveSettings();
  void FillTravelTypeGrid();
  bool RunExport(const ExportSettings& settings);
  TExportRun& ExportRun() { return *run_; }
  void HandleError(const std::exception& e);

 private:
  template <typename F>
  void Guarded(F f);
  void NextPage();
  void ExportPage();
  bool ConnectFromPage();
  std::string ConnectFailureText() const;
  ExportSettings CollectSettings();

  // TExportView
  void SetStatusText(const std::string& text) override { view_.SetText(TElement::lStatus, text); }
  void SetStatusNumber(const std::string& text) override { view_.SetText(TElement::lStatusNo, text); }
  void ProcessMessages() override { view_.ProcessMessages(); }
  void EnableExport(bool enabled) override { view_.EnableButton(TElement::bExport, enabled); }
  bool ChooseFolder(const std::string& start, std::string& chosen) override { return view_.ChooseFolder(start, chosen); }
  void ShowError(const std::string& text) override { view_.ShowMessageBox(TMsgKind::Error, text, TMsgButtons::OK); }

  TMainView& view_;
  const Env& env_;
  TSettingsStore& store_;
  std::string version_;
  std::unique_ptr<TExportRun> run_;
  bool running_ = false;
};

// The category-letter fields with their travel category.
struct TLetterField {
  TElement element;
  int category;
};
extern const TLetterField kLetterFields[10];  // in the order of the check: Air, Car, Cruise, ...

}  // namespace iex
