#pragma once
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <functional>

#include "controls/BranchComboBox.h"
#include "controls/DateEdit.h"
#include "controls/NumEdit.h"

class QCalendarWidget;
class QFrame;

namespace iex::qt {

// Shows an error's text; the window's general error display.
using TErrorDisplay = std::function<void(const std::string&)>;

// A line edit bound to a field's logic: typing feeds the logic, leaving runs
// its check (a failed check keeps the focus), Enter presses the window's
// default button, Escape its cancel command.
class BoundLineEdit : public QLineEdit {
 public:
  BoundLineEdit(TBaseEdit& logic, TErrorDisplay showError, QWidget* parent);
  std::function<void()> OnEnter, OnEscape;
  std::function<void()> OnDropDownKey;  // Alt+Down or F4: the field's drop-down, where it has one

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  virtual bool Accept(QChar) const { return true; }
  bool Check();

  TBaseEdit& logic_;
  TErrorDisplay showError_;
  bool checking_ = false;
};

class NumEditWidget : public BoundLineEdit {
 public:
  NumEditWidget(TNumEdit& logic, TErrorDisplay showError, QWidget* parent) : BoundLineEdit(logic, std::move(showError), parent) {}

 protected:
  bool Accept(QChar c) const override { return c.unicode() < 128 && TNumEdit::AcceptChar(static_cast<char>(c.unicode())); }
};

// The date field: a line edit with a button that drops down a month calendar.
class DateEditWidget : public QWidget {
 public:
  DateEditWidget(TMvDateEdit& logic, TErrorDisplay showError, QWidget* parent);
  BoundLineEdit* Edit() const { return edit_; }
  void DropDown();

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void Pick();
  void CloseCalendar();

  TMvDateEdit& logic_;
  TErrorDisplay showError_;
  BoundLineEdit* edit_;
  QToolButton* button_;
  QFrame* popup_ = nullptr;
  QCalendarWidget* calendar_ = nullptr;
};

// The branch selector: the logic's lines, rebuilt on every drop-down.
class BranchComboWidget : public QComboBox {
 public:
  BranchComboWidget(TIBBranchComboBox& logic, TErrorDisplay showError, QWidget* parent);
  void Sync();  // the logic's lines and choice into the widget

 protected:
  void showPopup() override;

 private:
  TIBBranchComboBox& logic_;
  TErrorDisplay showError_;
};

// A combo box that tells its owner before it drops down. Typing selects
// the first line that begins with what was typed, blanks included: a blank
// typed within a name never opens the list.
class DropDownComboBox : public QComboBox {
 public:
  explicit DropDownComboBox(QWidget* parent = nullptr);
  std::function<void()> OnDropDown;

 protected:
  void showPopup() override {
    if (OnDropDown) OnDropDown();
    QComboBox::showPopup();
  }
  void keyPressEvent(QKeyEvent* e) override;

 private:
  QString typed_;
  qint64 lastKey_ = 0;
};

}  // namespace iex::qt
