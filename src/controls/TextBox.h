#pragma once
#include <functional>
#include <string>

namespace iex {

// The text of a one-line entry field as the controls' logic holds it. The
// widget that shows it listens to changes the logic makes, and feeds in what
// the user types.
class TTextBox {
 public:
  const std::string& GetEditText() const { return text_; }
  // A change made by the logic: the widget is told.
  void SetBoxText(const std::string& text) {
    text_ = text;
    if (OnTextSet) OnTextSet(text_);
  }
  // What the user typed: no check, no notification.
  void UserTyped(const std::string& text) { text_ = text; }
  std::function<void(const std::string&)> OnTextSet;

 private:
  std::string text_;
};

}  // namespace iex
