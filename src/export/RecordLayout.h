#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "export/ExportRows.h"
#include "export/LineWriter.h"

namespace iex {

// How a field's value becomes text in the import files.
enum class TFieldKind {
  Constant,    // the source's text as it is (a fixed text, or a code the rules pick)
  Empty,       // nothing
  Text,        // the source's text, cut to `width` characters when width is not 0
  ZeroPadded,  // preceded by zeros up to `width` characters; never cut
  Amount,      // hundredths as the shortest decimal; empty only when the source says blank
  Integer,     // a whole number; empty when the source says blank
  Date,        // MM/DD/YYYY, empty for dates not after 30 December 1899
  DateAlways,  // MM/DD/YYYY in any case
  Time,        // HHMMA/P, empty at exactly midnight
};

// A field's value as its source gives it: the part its kind reads.
struct TFieldValue {
  std::string_view text;
  int64_t number = 0;
  double date = 0;
  bool blank = false;  // Amount, Integer: write nothing
  // The column shown, where the source picks one of several; "" for none.
  const char* column = nullptr;
  std::string owned;   // backs `text` when the source computes it

  void Own(std::string computed) {
    owned = std::move(computed);
    text = owned;
  }
};

// The regional formats values follow.
struct TValueStyle {
  char decimalSeparator = '.';
  char dateSeparator = '/';
};

// One field of a record type: its number and name as the layout gives
// them, its kind, width, the database column it shows (none for fixed
// texts) and how its value is taken from the record.
template <typename Record>
struct TFieldSpec {
  int number;
  const char* name;
  TFieldKind kind;
  unsigned width;
  const char* column;
  void (*source)(const Record&, TFieldValue&);
};

template <typename Record>
using TRecordLayout = std::span<const TFieldSpec<Record>>;

// One field's text, into a string whose memory is used again from field to field.
void FormatField(TFieldKind kind, unsigned width, const TFieldValue& value, const TValueStyle& style, std::string& into);
std::string FormatField(TFieldKind kind, unsigned width, const TFieldValue& value, const TValueStyle& style);

// Values whose characters the files' code page could not hold: how many
// were written, and where the first one is.
struct TLossReport {
  long values = 0;
  std::string file;  // of the first one
  long line = 0;
  int field = 0;
  std::string column;
};

// The field texts of one record, in layout order.
template <typename Record>
std::vector<std::string> FormatRecord(TRecordLayout<Record> layout, const Record& record, const TValueStyle& style) {
  std::vector<std::string> fields;
  for (const TFieldSpec<Record>& f : layout) {
    TFieldValue value;
    if (f.source) f.source(record, value);
    fields.push_back(FormatField(f.kind, f.width, value, style));
  }
  return fields;
}

void NoteLossyField(TLossReport& report, const TLineWriter& out, int field, const char* column);

// Writes one line: every field of the layout, then CR LF. Fields showing a
// column the record lists as lossy are counted in `report`.
template <typename Record>
void WriteRecord(TLineWriter& out, TRecordLayout<Record> layout, const Record& record, const TValueStyle& style,
                 const TLossyColumns& lossy, TLossReport& report) {
  TFieldValue value;
  std::string text;
  for (const TFieldSpec<Record>& f : layout) {
    value.text = {};
    value.number = 0;
    value.date = 0;
    value.blank = false;
    value.column = nullptr;
    if (f.source) f.source(record, value);
    FormatField(f.kind, f.width, value, style, text);
    out.Field(text);
    const char* shown = value.column ? value.column : f.column;
    if (!lossy.empty() && shown)
      for (const char* column : lossy)
        if (std::string_view(column) == shown) NoteLossyField(report, out, f.number, shown);
  }
  out.EndLine();
}

}  // namespace iex
