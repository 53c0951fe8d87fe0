#include "export/RecordLayout.h"

#include "export/ValueFormats.h"

namespace iex {

std::string FormatField(TFieldKind kind, unsigned width, const TFieldValue& v, const TValueStyle& style) {
  switch (kind) {
    case TFieldKind::Constant:
      return std::string(v.text);
    case TFieldKind::Empty:
      return std::string();
    case TFieldKind::Text:
      return std::string(width != 0 && v.text.size() > width ? v.text.substr(0, width) : v.text);
    case TFieldKind::ZeroPadded:
      return PadZeros(std::string(v.text), width);
    case TFieldKind::Amount:
      return v.blank ? std::string() : AmountText(v.number, style.decimalSeparator);
    case TFieldKind::Integer:
      return v.blank ? std::string() : std::to_string(v.number);
    case TFieldKind::Date:
      return DateText(v.date, style.dateSeparator);
    case TFieldKind::DateAlways:
      return DateAlwaysText(v.date, style.dateSeparator);
    case TFieldKind::Time:
      return TimeText(v.date);
  }
  return std::string();
}

void NoteLossyField(TLossReport& report, const TLineWriter& out, int field, const char* column) {
  if (report.values++ != 0) return;
  report.file = out.FileName();
  report.line = out.Lines() + 1;
  report.field = field;
  report.column = column;
}

}  // namespace iex
