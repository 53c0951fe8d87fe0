#include "export/CardFields.h"

#include "util/CharTests.h"

#include "crypto/CardDecoding.h"

namespace iex {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string ExtractCardDigits(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && !IsDigit(text[i])) ++i;
  std::string digits;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i]))
      digits += text[i];
    else if (text[i] != ' ' && text[i] != '-')
      break;
  }
  return digits;
}

std::string LookupCardTypeCode(const std::string& digits, const TStringIntList& lookup) {
  if (digits.empty()) return std::string();
  const int number = std::stoi(digits.substr(0, 2));
  for (const auto& [code, no] : lookup)
    if (no == number) return code;
  return std::string();
}

TPaymentFields PaymentFields(const std::string& paymentText, int payMethod, const TStringIntList& lookup) {
  TPaymentFields f;
  if (paymentText.empty()) return f;
  const bool card = payMethod == 3 || payMethod == 5 || payMethod == 6 || payMethod == 7;
  if (!card) {
    if (payMethod == 1 || payMethod == 2) f.reference = paymentText;
    return f;
  }
  std::string t = paymentText;
  const auto blank = t.find(' ');
  if (blank != std::string::npos && IsAllLetters(t.substr(0, blank))) {
    f.cardType = t.substr(0, blank);
    t.erase(0, blank + 1);
  } else {
    f.cardType = LookupCardTypeCode(ExtractCardDigits(t), lookup);
  }
  const auto slash = t.find('/');
  if (slash == std::string::npos) {
    f.cardNumber = t;
  } else {
    f.cardNumber = t.substr(0, slash);
    const std::string rest = t.substr(slash + 1);
    f.cardExpiry = rest.substr(0, 2) + "/" + (rest.size() > 2 ? rest.substr(2, 2) : std::string());
  }
  return f;
}

}  // namespace iex
