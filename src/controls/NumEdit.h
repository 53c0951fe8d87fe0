#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "controls/TextBox.h"

namespace iex {

enum class TMvNumType { mvntComp = 0, mvntInteger = 1 };

// What the numeric and date fields share: the value-changed notification and
// the checks on leaving the field.
class TBaseEdit {
 public:
  virtual ~TBaseEdit() = default;
  TTextBox Box;
  std::function<void(TBaseEdit&)> OnValueChanged;

  // Entering clears the skip flag. Leaving runs the check: false keeps the
  // focus in the field; the error goes on to the caller.
  void Enter() { fExitCancelPressed = false; }
  bool Exit();
  // Leaving with `typed` in the field: its check, any error's text handed to
  // `showError`; false keeps the focus in the field.
  bool ExitWith(const std::string& typed, const std::function<void(const std::string&)>& showError);
  bool CanExit() const { return fCanExit; }
  virtual void ValidateEntry() {}

 protected:
  void RaiseValueChanged() {
    fValueChanged = true;
    if (OnValueChanged) OnValueChanged(*this);
  }
  bool fValueChanged = false;
  bool fCanExit = true;
  bool fExitCancelPressed = false;
};

// A field for a whole number: a 64-bit value beside its text, with an
// optional range and 32-bit type range, zero optionally shown blank.
class TNumEdit : public TBaseEdit {
 public:
  TNumEdit();

  int64_t Value();  // checks the text first
  void SetValue(int64_t v);
  int64_t Min() const { return fMin; }
  int64_t Max() const { return fMax; }
  void SetMin(int64_t x);
  void SetMax(int64_t x);
  void SetLeadZeros(bool x);
  void SetAllowBlank(bool x);
  void SetBlankZero(bool x);
  void SetNumType(TMvNumType x);
  void SetIsBlank(bool x);
  bool AllowBlank() const { return fAllowBlank; }
  bool BlankZero() const { return fBlankZero; }
  bool IsBlank() const { return fIsBlank; }
  bool Loading = false;  // while a stored description is applied: no Min/Max ordering

  static bool AcceptChar(char c);  // control characters, "-" and digits
  void SetEditText(const std::string& text);  // a program write: checked
  void GetControlValue(std::string& txt, int64_t& num) const;
  void SetControlValue(const std::string& txt, int64_t num);
  void Clear();
  void ValidateEntry() override;

 private:
  void CheckRange(int64_t v);
  bool RangeInForce() const { return fMin != 0 || fMax != 0; }

  int64_t fVal = 0;
  bool fAllowBlank = true;
  bool fIsBlank = true;
  int64_t fMin = 0, fMax = 0;
  bool fLeadZeros = false;
  uint8_t fSize = 10;
  TMvNumType fNumType = TMvNumType::mvntComp;
  bool fBlankZero = false;
};

}  // namespace iex
