#pragma once
#include <string>

#include "export/RecordLayout.h"

namespace iex {

// Record type "02": one flight segment of an air booking.
TRecordLayout<TSegmentRow> SegmentLayout();
// Record type "03": one UDID entry of a booking.
TRecordLayout<TUdidRow> UdidLayout();
// Record type "03" number "101": the payment reference of a booking.
TRecordLayout<std::string> PaymentRefLayout();

}  // namespace iex
