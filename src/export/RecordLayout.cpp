#include "export/RecordLayout.h"

#include "export/ValueFormats.h"

namespace iex {

void FormatField(TFieldKind kind, unsigned width, const TFieldValue& v, const TValueStyle& style, std::string& into) {
  into.clear();
  switch (kind) {
    case TFieldKind::Constant:
      into = v.text;
      return;
    case TFieldKind::Empty:
      return;
    case TFieldKind::Text:
      into = width != 0 && v.text.size() > width ? v.text.substr(0, width) : v.text;
      return;
    case TFieldKind::ZeroPadded:
      if (v.text.size() < width) into.assign(width - v.text.size(), '0');
      into += v.text;
      return;
    case TFieldKind::Amount:
      if (!v.blank) AppendAmountText(into, v.number, style.decimalSeparator);
      return;
    case TFieldKind::Integer:
      if (!v.blank) into = std::to_string(v.number);
      return;
    case TFieldKind::Date:
      if (HasDate(v.date)) AppendDateText(into, v.date, style.dateSeparator);
      return;
    case TFieldKind::DateAlways:
      AppendDateText(into, v.date, style.dateSeparator);
      return;
    case TFieldKind::Time:
      into = TimeText(v.date);
      return;
  }
}

std::string FormatField(TFieldKind kind, unsigned width, const TFieldValue& value, const TValueStyle& style) {
  std::string text;
  FormatField(kind, width, value, style, text);
  return text;
}

void NoteLossyField(TLossReport& report, const TLineWriter& out, int field, const char* column) {
  if (report.values++ != 0) return;
  report.file = out.FileName();
  report.line = out.Lines() + 1;
  report.field = field;
  report.column = column;
}

}  // namespace iex
