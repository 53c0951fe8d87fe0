#include "app/RunReport.h"

#include <cstdio>

#include "platform/AnsiText.h"
#include "util/DateValue.h"

namespace iex {
namespace {

std::string Quoted(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string IsoDate(double value) {
  if (value == 0) return "null";
  const CivilDate d = DecodeDate(value);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
  return Quoted(buf);
}

std::string OrNull(const std::string& text) { return text.empty() ? "null" : Quoted(AnsiToUtf8(text)); }

}  // namespace

std::string RunReportJson(const TRunReport& r) {
  const TExportSummary& s = r.summary;
  const std::string folder = r.outputDir.empty() || r.outputDir.back() == '/' ? r.outputDir : r.outputDir + "/";
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%.3f", r.elapsedSeconds);
  std::string j = "{\n";
  j += "  \"status\": " + std::to_string(r.status) + ",\n";
  j += "  \"error\": " + (r.error.empty() ? std::string("null") : Quoted(AnsiToUtf8(r.error))) + ",\n";
  j += "  \"elapsedSeconds\": " + std::string(elapsed) + ",\n";
  j += "  \"filesWritten\": " + std::string(r.filesWritten ? "true" : "false") + ",\n";
  j += "  \"settingsSaved\": " + std::string(!r.settingsSaved ? "null" : *r.settingsSaved ? "true" : "false") + ",\n";
  j += "  \"files\": {\n";
  j += "    \"IMPACCT.DAT\": {\"path\": " + Quoted(folder + "IMPACCT.DAT") + ", \"lines\": " + std::to_string(s.accountLines) +
       ", \"accountLines\": " + std::to_string(s.accountLines) + "},\n";
  j += "    \"IMPINV.DAT\": {\"path\": " + Quoted(folder + "IMPINV.DAT") + ", \"lines\": " +
       std::to_string(s.bookingLines + s.segmentLines + s.udidLines + s.paymentRefLines) +
       ", \"bookingLines\": " + std::to_string(s.bookingLines) + ", \"segmentLines\": " + std::to_string(s.segmentLines) +
       ", \"udidLines\": " + std::to_string(s.udidLines) + ", \"paymentReferenceLines\": " + std::to_string(s.paymentRefLines) +
       "}\n";
  j += "  },\n";
  j += "  \"invoices\": {\"count\": " + std::to_string(s.invoices) + ", \"firstNumber\": " + OrNull(s.firstInvoiceNumber) +
       ", \"lastNumber\": " + OrNull(s.lastInvoiceNumber) + ", \"firstIssueDate\": " + IsoDate(s.firstIssueDate) +
       ", \"lastIssueDate\": " + IsoDate(s.lastIssueDate) + "},\n";
  const TLossReport& l = s.losses;
  j += "  \"recoveredCommit\": " + (s.recovery.empty() ? std::string("null") : Quoted(AnsiToUtf8(s.recovery))) + ",\n";
  j += "  \"replacedCharacters\": {\"values\": " + std::to_string(l.values) + ", \"first\": " +
       (l.values == 0 ? std::string("null")
                      : "{\"file\": " + Quoted(l.file) + ", \"line\": " + std::to_string(l.line) +
                            ", \"field\": " + std::to_string(l.field) + ", \"column\": " + Quoted(l.column) + "}") +
       "}\n";
  j += "}\n";
  return j;
}

}  // namespace iex
