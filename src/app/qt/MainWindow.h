#pragma once
#include <QWidget>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <thread>

#include "app/MainController.h"
#include "app/MainView.h"
#include "app/qt/EditWidgets.h"
#include "app/qt/UiCalls.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QGroupBox;
class QProgressBar;
class QTimer;

namespace iex::qt {

// "Invoice Export Utility": the wizard window over the controller.
class MainWindow : public QWidget, public TMainView {
 public:
  MainWindow(const Env& env, const RegionalSettings& settings, const DateOrder& order, TSettingsStore& store,
             const std::string& version);
  ~MainWindow() override;

  TfmMain& Controller() { return *fm_; }
  // Tests answer message boxes and the folder chooser themselves.
  std::function<TMsgResult(TMsgKind, const std::string&, TMsgButtons)> MessageBoxHook;
  std::function<bool(const std::string&, std::string&)> FolderHook;
  QWidget* Widget(TElement e) const;
  QTableWidget* Grid() const { return gTravelType_; }

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
  void ProcessMessages() override;
  TMsgResult ShowMessage(const TMessage& message) override;
  bool ChooseFolder(const std::string& startFolder, std::string& chosen) override;
  void GridChanged() override;
  void CommitEdits() override;
  void CloseWindow() override { close(); }
  void RunInBackground(std::function<void()> work, std::function<void(std::exception_ptr)> done) override;
  void CallOnUiThread(const std::function<void()>& f) override;
  void LockInputs(bool locked) override;

  void Start(db::TdmMain& dm);  // after the data module exists: shows the window
  // Without an event loop (the display is gone, the process exits): stops a
  // run and waits for its thread at most `ms` milliseconds.
  void AbandonRun(int ms);
  QProgressBar* ProgressBar() const { return progress_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildFirstPage(QWidget* page);
  void BuildSecondPage(QWidget* page);
  void ShowError(const std::string& text) { ShowMessageBox(TMsgKind::Error, text, TMsgButtons::OK); }
  void ShowProgress();
  void PressDefaultButton();
  void FitToPage();

  std::unique_ptr<TfmMain> fm_;
  std::map<TElement, QWidget*> elements_;
  QStackedWidget* pcMain_ = nullptr;
  QWidget* tsVersion_ = nullptr;
  QWidget* tsMapping_ = nullptr;
  QWidget* pTravelCat_ = nullptr;
  QWidget* pTravelType_ = nullptr;
  QTableWidget* gTravelType_ = nullptr;
  bool filling_ = false;
  const Env& env_;
  QProgressBar* progress_ = nullptr;
  QLabel* lPhase_ = nullptr;
  QLabel* lCount_ = nullptr;  // "8076 of 29561 invoices", "412 account lines"
  QTimer* progressTimer_ = nullptr;
  std::thread worker_;
  std::atomic<bool> workerDone_{true};
  TUiCalls uiCalls_;
};

}  // namespace iex::qt
