#pragma once
#include <string>

#include "util/StringGrid.h"

namespace iex {

struct TPaymentFields {
  std::string cardType;    // field 49
  std::string cardNumber;  // field 50
  std::string cardExpiry;  // field 51
  std::string reference;   // the payment-reference line, for pay methods 1 and 2
};

// The digits of a card text: leading non-digits dropped, then digits up to
// the first character other than a digit, blank or "-".
std::string ExtractCardDigits(const std::string& text);
// The code of the first lookup pair whose number equals the first two digits.
std::string LookupCardTypeCode(const std::string& digits, const TStringIntList& lookup);
// Splits a booking's payment text by its pay method.
TPaymentFields PaymentFields(const std::string& paymentText, int payMethod, const TStringIntList& lookup);

}  // namespace iex
