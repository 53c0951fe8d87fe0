#include "export/DetailLines.h"

#include "export/ValueFormats.h"

namespace iex {

void WriteSegmentLine(TLineWriter& out, const db::TSegmentRow& s, const RegionalSettings& regional) {
  out.Field("02")
      .Field(s.indexNo)
      .Field(s.airline)
      .Field(s.flightNo)
      .Field(s.connection)
      .Field(s.departCity)
      .Field(s.arriveCity)
      .Field(DateText(s.departDateTime, regional.dateSeparator))
      .Field(DateText(s.arriveDateTime, regional.dateSeparator))
      .Field(TimeText(s.departDateTime))
      .Field(TimeText(s.arriveDateTime))
      .Field(MaxChars(s.fareBasis, 8))
      .Field(AmountText(s.fare, regional.decimalSeparator))
      .Field(s.classOfSvc)
      .Empty(7);
  out.EndLine();
}

long WriteUdidLines(TLineWriter& out, const std::vector<db::TUdidRow>& udids) {
  for (const db::TUdidRow& u : udids) {
    out.Field("03").Field(u.udidNo).Field(MaxChars(u.udid, 60));
    out.EndLine();
  }
  return static_cast<long>(udids.size());
}

bool WritePaymentRefLine(TLineWriter& out, const std::string& reference) {
  if (reference.empty()) return false;
  out.Field("03").Field("101").Field(reference);
  out.EndLine();
  return true;
}

}  // namespace iex
