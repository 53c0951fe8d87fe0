#include "export/ExportSummary.h"

namespace iex {

void TExportSummary::CountInvoice(const std::string& number, double issueDate) {
  ++invoices;
  // Invoice numbers compare as numbers when they are; shorter first, then by digits.
  auto less = [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  };
  if (firstInvoiceNumber.empty() || less(number, firstInvoiceNumber)) firstInvoiceNumber = number;
  if (lastInvoiceNumber.empty() || less(lastInvoiceNumber, number)) lastInvoiceNumber = number;
  if (issueDate != 0 && (firstIssueDate == 0 || issueDate < firstIssueDate)) firstIssueDate = issueDate;
  if (issueDate > lastIssueDate) lastIssueDate = issueDate;
}

std::string ReplacedCharactersText(const TLossReport& l) {
  if (l.values == 0) return std::string();
  return std::to_string(l.values) + (l.values == 1 ? " value holds" : " values hold") +
         " characters the files' code page cannot hold; \"?\" stands in their place. The first: " + l.file + " line " +
         std::to_string(l.line) + ", field " + std::to_string(l.field) + " (" + l.column + ").";
}

}  // namespace iex
