#include "app/RunReport.h"

#include <chrono>
#include <cstdio>

#include "platform/AnsiText.h"
#include "platform/PathText.h"
#include "util/DateValue.h"

namespace iex {
namespace {

// A JSON string of UTF-8 text; a byte that is no UTF-8 is taken as the
// Latin-1 character of its value, so the document stays valid.
std::string Quoted(const std::string& utf8) {
  std::string out = "\"";
  char buf[8];
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra > 0) {
      bool whole = i + static_cast<std::size_t>(extra) < utf8.size();
      for (int k = 1; whole && k <= extra; ++k) whole = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
      if (whole) {
        out.append(utf8, i, static_cast<std::size_t>(extra) + 1);
        i += static_cast<std::size_t>(extra);
        continue;
      }
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x80) {
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

// An invoice number as a number when it is one a reader can hold exactly.
std::string InvoiceNumber(const std::string& text) {
  if (text.empty()) return "null";
  const bool digits = text.size() <= 15 && text.find_first_not_of("0123456789") == std::string::npos;
  return digits ? std::to_string(std::stoll(text)) : Quoted(AnsiToUtf8(text));
}

std::string Flag(bool b) { return b ? "true" : "false"; }

}  // namespace

std::string UtcNowIso() {
  using namespace std::chrono;
  const auto now = floor<seconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day ymd{day};
  const hh_mm_ss time{now - day};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
  return buf;
}

std::string RunReportJson(const TRunReport& r) {
  const TExportSummary& s = r.summary;
  auto file = [&](const char* name) { return Quoted(NativeSeparators(JoinPath(r.outputDir, name))); };
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%.3f", r.elapsedSeconds);
  const long invLines = s.bookingLines + s.segmentLines + s.udidLines + s.paymentRefLines;
  std::string j = "{\n";
  j += "  \"status\": " + std::to_string(r.status) + ",\n";
  j += "  \"error\": " + (r.error.empty() ? std::string("null") : Quoted(AnsiToUtf8(r.error))) + ",\n";
  j += "  \"version\": " + Quoted(r.version) + ",\n";
  j += "  \"startedAt\": " + Quoted(r.startedAt) + ",\n";
  j += "  \"endedAt\": " + Quoted(r.endedAt) + ",\n";
  j += "  \"elapsedSeconds\": " + std::string(elapsed) + ",\n";
  j += "  \"issueDates\": {\"from\": " + IsoDate(r.fromDate.value_or(0)) + ", \"to\": " + IsoDate(r.toDate.value_or(0)) +
       "},\n";
  j += "  \"filesWritten\": " + Flag(r.filesWritten) + ",\n";
  j += "  \"settingsSaved\": " + std::string(!r.settingsSaved ? "null" : Flag(*r.settingsSaved)) + ",\n";
  j += "  \"files\": {\n";
  j += "    \"IMPACCT.DAT\": {\"path\": " + file("IMPACCT.DAT") + ", \"lines\": " + std::to_string(s.accountLines) +
       ", \"accountLines\": " + std::to_string(s.accountLines) + "},\n";
  j += "    \"IMPINV.DAT\": {\"path\": " + file("IMPINV.DAT") + ", \"lines\": " + std::to_string(invLines) +
       ", \"bookingLines\": " + std::to_string(s.bookingLines) + ", \"segmentLines\": " + std::to_string(s.segmentLines) +
       ", \"udidLines\": " + std::to_string(s.udidLines) + ", \"paymentReferenceLines\": " + std::to_string(s.paymentRefLines) +
       "}\n";
  j += "  },\n";
  j += "  \"invoices\": {\"count\": " + std::to_string(s.invoices) + ", \"firstNumber\": " +
       InvoiceNumber(s.firstInvoiceNumber) + ", \"lastNumber\": " + InvoiceNumber(s.lastInvoiceNumber) +
       ", \"firstIssueDate\": " + IsoDate(s.firstIssueDate) + ", \"lastIssueDate\": " + IsoDate(s.lastIssueDate) + "},\n";
  j += "  \"recoveredCommit\": " + (s.recovery.empty() ? std::string("null") : Quoted(AnsiToUtf8(s.recovery))) + ",\n";
  const TLossReport& l = s.losses;
  j += "  \"replacedCharacters\": {\"values\": " + std::to_string(l.values) + ", \"first\": " +
       (l.values == 0 ? std::string("null")
                      : "{\"file\": " + Quoted(l.file) + ", \"line\": " + std::to_string(l.line) +
                            ", \"field\": " + std::to_string(l.field) + ", \"column\": " + Quoted(l.column) + "}") +
       "}\n";
  j += "}\n";
  return j;
}

}  // namespace iex
