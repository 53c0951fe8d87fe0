#include "export/DetailLines.h"

#include "export/ValueFormats.h"

namespace iex {

void WriteSegmentLine(TLineWriter& out, const db::TQuery& q, const InvoiceColumns& c, const RegionalSettings& regional) {
  auto text = [&](int col) { return q.Field(col).AsString(); };
  const double depart = q.Field(c.DEPARTDATETIME).AsDateTime();
  const double arrive = q.Field(c.ARRIVEDATETIME).AsDateTime();
  out.Field("02")
      .Field(text(c.INDEXNO))
      .Field(text(c.AIRLINE))
      .Field(text(c.FLIGHTNO))
      .Field(text(c.CONNECTION))
      .Field(text(c.DEPARTCITY))
      .Field(text(c.ARRIVECITY))
      .Field(DateText(depart, regional.dateSeparator))
      .Field(DateText(arrive, regional.dateSeparator))
      .Field(TimeText(depart))
      .Field(TimeText(arrive))
      .Field(MaxChars(text(c.FAREBASIS), 8))
      .Field(AmountText(q.Field(c.FARE).AsInteger(), regional.decimalSeparator))
      .Field(text(c.CLASSOFSVC))
      .Empty(7);
  out.EndLine();
}

long WriteUdidLines(TLineWriter& out, db::TQuery& udids, int32_t bookingNo) {
  long lines = 0;
  udids.SetParamInteger("BOOKING_LINKNO", bookingNo);
  try {
    udids.ExecQuery();
    for (; !udids.Eof(); udids.Next()) {
      out.Field("03").Field(udids.FieldByName("UDIDNO").AsString()).Field(MaxChars(udids.FieldByName("UDID").AsString(), 60));
      out.EndLine();
      ++lines;
    }
  } catch (...) {
    udids.Close();
    throw;
  }
  udids.Close();
  return lines;
}

bool WritePaymentRefLine(TLineWriter& out, const std::string& reference) {
  if (reference.empty()) return false;
  out.Field("03").Field("101").Field(reference);
  out.EndLine();
  return true;
}

}  // namespace iex
