#pragma once
#include <string>

#include "export/ExportContext.h"

namespace iex {

// The payment text of a payment detail: plain, or deciphered from its
// enciphered value. A value that the run's card key cannot decipher ends
// the run, naming the payment.
std::string PaymentText(const TPaymentRow& payment, const TExportContext& ctx);

}  // namespace iex
