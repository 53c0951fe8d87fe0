#pragma once
#include <string>

#include "db/Query.h"
#include "export/CardFields.h"
#include "export/ExportContext.h"
#include "export/InvoiceColumns.h"
#include "export/LineWriter.h"

namespace iex {

// The payment text of the current row: plain, or deciphered from its
// enciphered column.
std::string PaymentText(const db::TQuery& q, const InvoiceColumns& c, const TExportContext& ctx);

// Record type "01" from the first row of a booking group.
void WriteBookingLine(TLineWriter& out, const db::TQuery& q, const InvoiceColumns& c, const TExportContext& ctx,
                      const TPaymentFields& payment);

}  // namespace iex
