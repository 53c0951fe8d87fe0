#pragma once
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "aliases/AliasList.h"
#include "app/MainView.h"
#include "app/SavedSettings.h"
#include "controls/BranchComboBox.h"
#include "controls/DateEdit.h"
#include "controls/NumEdit.h"
#include "db/DataModule.h"
#include "export/ExportRequest.h"
#include "export/ExportRun.h"
#include "util/StringGrid.h"

namespace iex {

// "Version " + the program's version as 1.00.02.015, or "<none>".
std::string GetVersionText(const std::string& version);

// The invoice-number fields: 0 shown blank, 0 to kMaxInvoiceNumber.
void ConfigureInvoiceNumberEdit(TNumEdit& e);

// What a run shows while it works, read by the window's timer.
struct TRunProgress {
  TExportProgress run;
  double elapsedSeconds = 0;  // from the first query on; stops when the run ends

  long InvoicesWritten() const { return run.unit == TProgressUnit::Invoices ? run.done : 0; }
};

// The main window's logic: the two wizard pages, their checks and messages,
// the alias choice, the saved settings and the export run. The window is a
// view; this holds no toolkit.
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
  // Where a run's rows come from: the database, unless a test or a
  // picture of the window gives rows of its own.
  std::function<std::unique_ptr<TExportSource>()> MakeSource;

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
  // While an export runs: asks "Stop the export and close?"; Yes stops the
  // run and closes the window when it has ended.
  bool FormCloseQuery();
  // A signal or the session asks the window to end: a run is stopped (the
  // previous files kept) and the window closes once it has ended; no question.
  void EndWithoutAsking();
  // From a signal handler: the run stops at its next row (async-signal-safe).
  void AskStopFromSignal() noexcept { signalled_ = true; }
  // Told after every connection made from the first page.
  std::function<void()> OnConnected;
  bool ExportRunning() const { return running_; }
  // The Stop button: the run ends at the next row (or its query is cancelled),
  // rolls back and leaves the output folder as it was.
  void bStopClick();
  TRunProgress Progress() const;

  void UpdateAliasPath();
  void RefreshAliasList();
  void LoadSettings();
  void SaveSettings();
  void FillTravelTypeGrid();
  // Starts the run in the background; `finished` is told on the
  // user-interface thread whether it completed (false: folder choice
  // cancelled), or raises what ended it.
  void RunExport(const ExportSettings& settings, std::function<void(bool done, std::exception_ptr error)> finished);
  TExportRun& ExportRun() { return *run_; }
  void HandleError(const std::exception& e);

 private:
  template <typename F>
  void Guarded(F f);
  void NextPage();
  void ExportPage();
  void RememberFolder() noexcept;
  bool ConnectFromPage();
  TMessage ConnectFailureMessage() const;
  // Both pages' inputs as one request: what the checks see is what runs.
  TExportRequest RequestFromPages();

  void ExportFinished(bool done, std::exception_ptr error);

  // TExportView, called from the run's thread: progress goes to a shared
  // record the window reads; anything that touches the window goes to its thread.
  void ShowProgress(const TExportProgress& progress) override;
  void EnableExport(bool enabled) override;
  bool ChooseFolder(const std::string& start, std::string& chosen) override;


  TMainView& view_;
  const Env& env_;
  TSettingsStore& store_;
  std::string version_;
  std::string rememberedFolder_;  // UTF-8; where the folder chooser opens
  std::unique_ptr<TExportSource> source_;
  std::unique_ptr<TExportRun> run_;
  bool running_ = false;
  bool closeWhenStopped_ = false;
  std::atomic<bool> stopAsked_{false};
  std::atomic<bool> signalled_{false};
  mutable std::mutex progressMutex_;
  TExportProgress progress_;
  bool clockRunning_ = false;
  std::chrono::steady_clock::time_point runStart_, runEnd_;
};

// The category-letter fields with their travel category.
struct TLetterField {
  TElement element;
  int category;
};
extern const TLetterField kLetterFields[10];  // in the order of the check: Air, Car, Cruise, ...

}  // namespace iex
