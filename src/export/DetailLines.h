#pragma once
#include <string>

#include "db/Query.h"
#include "export/ExportContext.h"
#include "export/InvoiceColumns.h"
#include "export/LineWriter.h"

namespace iex {

// Record type "02": one flight segment of an air booking.
void WriteSegmentLine(TLineWriter& out, const db::TQuery& q, const InvoiceColumns& c, const RegionalSettings& regional);
// Record type "03": the booking's UDID entries, from the per-booking query.
long WriteUdidLines(TLineWriter& out, db::TQuery& udids, int32_t bookingNo);
// Record type "03" number "101": the payment reference, when there is one.
bool WritePaymentRefLine(TLineWriter& out, const std::string& reference);

}  // namespace iex
