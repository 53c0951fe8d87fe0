#pragma once
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace iex {

// The window's elements the controller talks to, by their names.
enum class TElement {
  Caption, cbAlias, edPath, edUserName, edPassword, gbVersion, bExport, bExit, lStatus, lStatusNo,
  cbMapBy, cbItinMap, eAir, eHotel, eCar, eCruise, eTour, eRail, eTrans, eIns, eServ, eOther,
  bStop, edStartInvDate, edEndInvDate, edStartInvNo, edEndInvNo, cbBranch, gTravelType
};
enum class TPage { tsVersion, tsMapping };
enum class TPanel { pTravelCat, pTravelType };
enum class TMsgKind { Information, Warning, Error };
enum class TMsgButtons { OK, YesNo, YesNoCancel };
enum class TMsgResult { OK, Yes, No, Cancel };

// A message box: its kind, text (a first line saying what happened, the
// cause below it), buttons, the engine's own words for a "Details"
// disclosure, and whether No is the answer Enter gives.
struct TMessage {
  TMsgKind kind = TMsgKind::Information;
  std::string text;
  TMsgButtons buttons = TMsgButtons::OK;
  std::string details;
  bool defaultNo = false;
};

// The operations the controller needs of the window. Texts are 8-bit
// (Windows-1252) on this side; the window converts.
class TMainView {
 public:
  virtual ~TMainView() = default;
  virtual std::string Text(TElement e) = 0;
  virtual void SetText(TElement e, const std::string& text) = 0;
  virtual int ItemIndex(TElement e) = 0;  // -1: no choice
  virtual void SetItemIndex(TElement e, int index) = 0;
  virtual std::vector<std::string> Items(TElement e) = 0;
  virtual void SetItems(TElement e, const std::vector<std::string>& items) = 0;
  virtual void SetHint(TElement e, const std::string& hint) = 0;
  virtual TPage CurrentPage() = 0;
  virtual void ShowPage(TPage page) = 0;
  virtual void ShowPanel(TPanel panel, bool visible) = 0;
  virtual void EnableButton(TElement e, bool enabled) = 0;
  virtual void Focus(TElement e) = 0;
  virtual void ProcessMessages() = 0;
  virtual TMsgResult ShowMessage(const TMessage& message) = 0;
  TMsgResult ShowMessageBox(TMsgKind kind, const std::string& text, TMsgButtons buttons) {
    return ShowMessage({kind, text, buttons, std::string(), false});
  }
  virtual bool ChooseFolder(const std::string& startFolder, std::string& chosen) = 0;
  virtual void GridChanged() = 0;  // the travel-type grid model changed
  // An edit still open (a grid cell) is ended and its value taken, so what
  // is exported is what the user sees and what is saved.
  virtual void CommitEdits() = 0;
  virtual void CloseWindow() = 0;
  // Runs `work` off the user-interface thread, so the window stays live;
  // `done` then runs on the user-interface thread with what `work` raised
  // (null when nothing). A view without threads may run both at once.
  virtual void RunInBackground(std::function<void()> work, std::function<void(std::exception_ptr)> done) = 0;
  // From the background work: runs `f` on the user-interface thread and waits for it.
  virtual void CallOnUiThread(const std::function<void()>& f) = 0;
  // While a run is in progress the page's inputs take no changes.
  virtual void LockInputs(bool locked) = 0;
};

}  // namespace iex
