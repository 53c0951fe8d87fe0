#pragma once
#include "export/CardFields.h"
#include "export/ExportSettings.h"
#include "export/RecordLayout.h"

namespace iex {

// What a booking line shows: the booking, the fields of its first payment
// detail and the user's mapping choices.
struct TBookingLine {
  const TBookingRecord& booking;
  const TPaymentFields& payment;
  int payMethod = 0;
  const ExportSettings& settings;
};

// Record type "01" of IMPINV.DAT: 63 fields.
TRecordLayout<TBookingLine> BookingLayout();

}  // namespace iex
