#pragma once
#include <string>

#include "db/ExportRows.h"
#include "export/CardFields.h"
#include "export/ExportContext.h"
#include "export/LineWriter.h"

namespace iex {

// The payment text of a payment detail: plain, or deciphered from its
// enciphered value.
std::string PaymentText(const db::TPaymentRow& payment, const TExportContext& ctx);

// Record type "01" of a booking, with the fields of its first payment detail.
void WriteBookingLine(TLineWriter& out, const db::TBookingRecord& b, const TExportContext& ctx,
                      const TPaymentFields& payment, int payMethod);

}  // namespace iex
