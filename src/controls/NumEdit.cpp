#include "controls/NumEdit.h"

#include "platform/Error.h"
#include "util/FillTemplate.h"
#include "util/NumberText.h"

namespace iex {

namespace {
constexpr int64_t kIntMin = -2147483648LL;
constexpr int64_t kIntMax = 2147483647LL;
}  // namespace

bool TBaseEdit::ExitWith(const std::string& typed, const std::function<void(const std::string&)>& showError) {
  try {
    Box.UserTyped(typed);
    return Exit();
  } catch (const std::exception& e) {
    showError(e.what());
    return false;
  }
}

bool TBaseEdit::Exit() {
  fCanExit = true;
  if (fExitCancelPressed) return true;
  try {
    ValidateEntry();
  } catch (...) {
    fCanExit = false;
    fExitCancelPressed = false;
    throw;
  }
  return true;
}

TNumEdit::TNumEdit() = default;

bool TNumEdit::AcceptChar(char c) { return static_cast<unsigned char>(c) < 32 || c == '-' || (c >= '0' && c <= '9'); }

void TNumEdit::CheckRange(int64_t v) {
  fIsBlank = v == 0 && fAllowBlank && Box.GetEditText().empty();
  if (!fIsBlank && RangeInForce() && (v < fMin || (fMax != 0 && v > fMax))) {
    if (fMax == 0) throw EMvError(FillTemplate("Invalid Number.  Number must be greater than %1", CompToText(fMin - 1)));
    throw EMvError(FillTemplate("Invalid Number.  Number must be in range %1 .. %2", CompToText(fMin) + "\t" + CompToText(fMax)));
  }
  if (fNumType == TMvNumType::mvntInteger && (v < kIntMin || v > kIntMax)) {
    const int64_t lo = RangeInForce() ? fMin : kIntMin;
    const int64_t hi = RangeInForce() ? fMax : kIntMax;
    throw EMvError(FillTemplate("Invalid Number.  Number must be in range %1 .. %2", CompToText(lo) + "\t" + CompToText(hi)));
  }
}

void TNumEdit::SetValue(int64_t v) {
  try {
    CheckRange(v);
    if (v == 0 && (fIsBlank || fBlankZero)) {
      fVal = 0;
      Box.SetBoxText("");
      return;
    }
    std::string text = CompToText(v);
    if (fLeadZeros) text = ZeroPad(text, fSize);
    Box.SetBoxText(text);
    fIsBlank = false;
    fVal = v;
  } catch (...) {
    Box.SetBoxText("");
    fVal = 0;
    throw;
  }
}

void TNumEdit::ValidateEntry() {
  const int64_t oldVal = fVal;
  const bool oldBlank = fIsBlank;
  int64_t v = 0;
  if (!Box.GetEditText().empty()) {
    try {
      v = TextToComp(Box.GetEditText());
    } catch (const EMvError&) {
      throw EMvError("Invalid Number. Please enter again.");
    }
  }
  CheckRange(v);
  SetValue(v);
  if (fVal != oldVal || fIsBlank != oldBlank) RaiseValueChanged();
}

int64_t TNumEdit::Value() {
  ValidateEntry();
  return fVal;
}

void TNumEdit::SetEditText(const std::string& text) {
  Box.SetBoxText(text);
  try {
    ValidateEntry();
  } catch (...) {
    Box.SetBoxText("");
    fVal = 0;
    throw;
  }
}

void TNumEdit::SetMin(int64_t x) {
  fMin = x;
  if (!Loading && fMax != 0 && fMax < fMin) fMin = fMax;
  if (fNumType == TMvNumType::mvntInteger && fMin < kIntMin) fMin = kIntMin;
  if (!fIsBlank && RangeInForce() && fVal < fMin) {
    fVal = fMin;
    SetValue(fMin);
  }
}

void TNumEdit::SetMax(int64_t x) {
  fMax = x;
  if (!Loading && fMax != 0 && fMax < fMin) fMax = fMin;
  if (fNumType == TMvNumType::mvntInteger && fMax > kIntMax) fMax = kIntMax;
  fSize = static_cast<uint8_t>(fMax == 0 ? 1 : CompToText(fMax).size());
  if (!fIsBlank && fMax != 0 && RangeInForce() && fVal > fMax) {
    fVal = fMax;
    SetValue(fMax);
  }
}

void TNumEdit::SetLeadZeros(bool x) {
  fLeadZeros = x;
  if (!fIsBlank) SetValue(fVal);
}

void TNumEdit::SetAllowBlank(bool x) {
  fAllowBlank = x;
  if (x) fBlankZero = false;
  SetValue(fVal);
}

void TNumEdit::SetBlankZero(bool x) {
  fBlankZero = x;
  if (x && fAllowBlank) fAllowBlank = false;
  SetValue(fVal);
}

void TNumEdit::SetNumType(TMvNumType x) {
  if (x == fNumType) return;
  fNumType = x;
  ValidateEntry();
}

void TNumEdit::SetIsBlank(bool x) {
  fIsBlank = x;
  if (x) SetEditText("");
}

void TNumEdit::GetControlValue(std::string& txt, int64_t& num) const {
  txt = Box.GetEditText();
  num = fVal;
}

void TNumEdit::SetControlValue(const std::string& txt, int64_t num) {
  if (!txt.empty())
    SetEditText(txt);
  else
    SetValue(num);
}

void TNumEdit::Clear() {
  Box.SetBoxText("");
  if ((!fAllowBlank || fIsBlank) && fVal == 0) return;
  fVal = 0;
  ValidateEntry();
  RaiseValueChanged();
}

}  // namespace iex
