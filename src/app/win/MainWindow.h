#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <thread>

#include "app/MainController.h"
#include "app/MainView.h"
#include "app/win/BoundEdit.h"
#include "app/win/DateDropDown.h"
#include "app/win/TravelTypeList.h"

namespace iex::win {

// "Invoice Export Utility": the wizard window over the controller, in plain
// Win32 with Common Controls 6. The frame and its two pages are dialogs from
// the resources; the window's own message loop passes every message through
// IsDialogMessage (Dispatch), which gives Tab, Enter, Escape and mnemonics.
class TMainWindow : public TMainView {
 public:
  TMainWindow(const Env& env, const RegionalSettings& settings, const DateOrder& order, TSettingsStore& store,
              const std::string& version);
  ~TMainWindow() override;
  TMainWindow(const TMainWindow&) = delete;
  // Posted from another thread: close without the question, a run stopped first.
  static constexpr UINT kEndWithoutAsking = WM_APP + 3;
  TMainWindow& operator=(const TMainWindow&) = delete;

  TfmMain& Controller() { return *fm_; }
  HWND Handle() const { return main_; }
  HWND Widget(TElement e) const;
  HWND Page(TPage page) const { return page == TPage::tsMapping ? mapping_ : version_; }
  HWND ProgressBar() const { return progress_; }
  HWND Phase() const { return phase_; }
  TTravelTypeList& Grid() { return *grid_; }
  TDateDropDown& DateDropDown(TElement e) { return e == TElement::edEndInvDate ? *endDrop_ : *startDrop_; }
  bool IsVisible() const { return IsWindowVisible(main_) != FALSE; }

  // Tests answer message boxes and the folder chooser themselves.
  std::function<TMsgResult(const TMessage&)> MessageBoxHook;
  std::function<bool(const std::string&, std::string&)> FolderHook;
  // Told when the window has closed (the program's loop ends then).
  std::function<void()> OnClosed;

  // One message of the loop: the dialog keys first, then the window's own.
  void Dispatch(MSG& msg);
  // Every message waiting, as ProcessMessages does; for tests and waits.
  void Pump();

  void Start(db::TdmMain& dm);  // after the data module exists: shows the window
  // Without a message loop (the session ends): stops a run and waits for its
  // thread at most `ms` milliseconds.
  void AbandonRun(int ms);

  // TMainView
  std::string Text(TElement e) override;
  void SetText(TElement e, const std::string& text) override;
  int ItemIndex(TElement e) override;
  void SetItemIndex(TElement e, int index) override;
  std::vector<std::string> Items(TElement e) override;
  void SetItems(TElement e, const std::vector<std::string>& items) override;
  void SetHint(TElement e, const std::string& hint) override;
  TPage CurrentPage() override;
  void ShowPage(TPage page) override;
  void ShowPanel(TPanel panel, bool visible) override;
  void EnableButton(TElement e, bool enabled) override;
  void Focus(TElement e) override;
  void ProcessMessages() override { Pump(); }
  TMsgResult ShowMessage(const TMessage& message) override;
  bool ChooseFolder(const std::string& startFolder, std::string& chosen) override;
  void GridChanged() override;
  void CommitEdits() override;
  void CloseWindow() override;
  void RunInBackground(std::function<void()> work, std::function<void(std::exception_ptr)> done) override;
  void CallOnUiThread(const std::function<void()>& f) override;
  void LockInputs(bool locked) override;

 private:
  static INT_PTR CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  static INT_PTR CALLBACK PageProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK AliasKeysProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  INT_PTR OnMainMessage(UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR OnPageCommand(WORD id, WORD code, HWND control);
  void BuildPages();
  void BindFields();
  void RequestClose();
  void PressDefaultButton();
  void ShowProgress();
  void SyncBranches();
  void ShowError(const std::string& text) { ShowMessageBox(TMsgKind::Error, text, TMsgButtons::OK); }

  const Env& env_;
  std::unique_ptr<TfmMain> fm_;
  HWND main_ = nullptr, version_ = nullptr, mapping_ = nullptr;
  HWND phase_ = nullptr, progress_ = nullptr, tooltip_ = nullptr;
  std::map<TElement, HWND> elements_;
  std::unique_ptr<TBoundEdit> startDate_, endDate_, startNo_, endNo_;
  std::unique_ptr<TDateDropDown> startDrop_, endDrop_;
  std::unique_ptr<TTravelTypeList> grid_;
  HFONT boldFont_ = nullptr;
  HICON bigIcon_ = nullptr, smallIcon_ = nullptr;
  bool comInitialised_ = false;
  std::wstring typedAlias_;  // the alias list's type-ahead
  DWORD lastAliasKey_ = 0;

  DWORD uiThread_ = 0;
  std::thread worker_;
  bool inputsLocked_ = false;  // a run is under way: the keyboard rests on the window
  std::atomic<bool> workerDone_{true};
  std::function<void(std::exception_ptr)> runDone_;
  std::exception_ptr runError_;
};

}  // namespace iex::win
