#pragma once
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "app/MainView.h"

namespace iex::test {

// A window on paper: what the controller sets is kept; message boxes are
// recorded and answered from a queue (OK or Yes when it runs dry).
class FakeMainView : public TMainView {
 public:
  std::map<TElement, std::string> texts;
  std::map<TElement, int> indexes;
  std::map<TElement, std::vector<std::string>> items{
      {TElement::cbMapBy, {"Travel Category", "Travel Type"}},
      {TElement::cbItinMap, {"Varies by Travel Category", "Vendor Name"}}};
  std::map<TElement, std::string> hints;
  std::map<TPanel, bool> panels;
  std::map<TElement, bool> enabled;
  TPage page = TPage::tsVersion;
  std::vector<std::pair<TMsgKind, std::string>> messages;
  std::deque<TMsgResult> answers;
  bool folderAnswer = true;
  std::string folder;
  int folderAsked = 0;
  int gridChanges = 0;
  bool closed = false;
  TElement focused = TElement::Caption;

  std::string Text(TElement e) override {
    if (e == TElement::cbAlias || e == TElement::cbMapBy || e == TElement::cbItinMap) {
      const int i = ItemIndex(e);
      const auto& list = items[e];
      return i >= 0 && i < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(i)] : "";
    }
    return texts[e];
  }
  void SetText(TElement e, const std::string& text) override { texts[e] = text; }
  int ItemIndex(TElement e) override { return indexes.count(e) ? indexes[e] : -1; }
  void SetItemIndex(TElement e, int index) override { indexes[e] = index; }
  std::vector<std::string> Items(TElement e) override { return items[e]; }
  void SetItems(TElement e, const std::vector<std::string>& list) override {
    items[e] = list;
    indexes[e] = -1;
  }
  void SetHint(TElement e, const std::string& hint) override { hints[e] = hint; }
  TPage CurrentPage() override { return page; }
  void ShowPage(TPage p) override { page = p; }
  void ShowPanel(TPanel p, bool visible) override { panels[p] = visible; }
  void EnableButton(TElement e, bool on) override { enabled[e] = on; }
  void Focus(TElement e) override { focused = e; }
  void ProcessMessages() override {}
  TMsgResult ShowMessage(const TMessage& m) override {
    messages.emplace_back(m.kind, m.text);
    details.push_back(m.details);
    defaultNo.push_back(m.defaultNo);
    if (!answers.empty()) {
      const TMsgResult r = answers.front();
      answers.pop_front();
      return r;
    }
    return m.buttons == TMsgButtons::OK ? TMsgResult::OK : m.defaultNo ? TMsgResult::No : TMsgResult::Yes;
  }
  std::vector<std::string> details;
  std::vector<bool> defaultNo;
  int editsCommitted = 0;
  void CommitEdits() override { ++editsCommitted; }
  bool ChooseFolder(const std::string& start, std::string& chosen) override {
    ++folderAsked;
    chosen = folder.empty() ? start : folder;
    return folderAnswer;
  }
  void GridChanged() override { ++gridChanges; }
  void CloseWindow() override { closed = true; }
  // Without threads: the work and its end run at once.
  void RunInBackground(std::function<void()> work, std::function<void(std::exception_ptr)> done) override {
    std::exception_ptr error;
    try {
      work();
    } catch (...) {
      error = std::current_exception();
    }
    done(error);
  }
  void CallOnUiThread(const std::function<void()>& f) override { f(); }
  void LockInputs(bool locked) override { inputsLocked = locked; }
  bool inputsLocked = false;

  std::string LastMessage() const { return messages.empty() ? "" : messages.back().second; }
  void Choose(const std::string& alias) {
    const auto& list = items[TElement::cbAlias];
    for (std::size_t i = 0; i < list.size(); ++i)
      if (list[i] == alias) indexes[TElement::cbAlias] = static_cast<int>(i);
  }
};

}  // namespace iex::test
