#pragma once
#include <string>
#include <vector>

#include "db/ExportRows.h"
#include "export/LineWriter.h"
#include "platform/RegionalSettings.h"

namespace iex {

// Record type "02": one flight segment of an air booking.
void WriteSegmentLine(TLineWriter& out, const db::TSegmentRow& s, const RegionalSettings& regional);
// Record type "03": the booking's UDID entries.
long WriteUdidLines(TLineWriter& out, const std::vector<db::TUdidRow>& udids);
// Record type "03" number "101": the payment reference, when there is one.
bool WritePaymentRefLine(TLineWriter& out, const std::string& reference);

}  // namespace iex
