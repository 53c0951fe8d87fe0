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

}  // namespace iex
