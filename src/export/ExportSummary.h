#pragma once
#include <string>

#include "export/RecordLayout.h"

namespace iex {

// What a run wrote, for its report: lines per record type, the invoices
// the file covers and the values the code page could not hold.
struct TExportSummary {
  long accountLines = 0;
  long bookingLines = 0;
  long segmentLines = 0;
  long udidLines = 0;
  long paymentRefLines = 0;
  long invoices = 0;
  std::string firstInvoiceNumber, lastInvoiceNumber;  // the lowest and the highest
  double firstIssueDate = 0, lastIssueDate = 0;       // date values; 0: none
  TLossReport losses;
  std::string recovery;  // what settling an interrupted commit in the folder did; "" for none

  void CountInvoice(const std::string& number, double issueDate);
};

// What the run says when values lost characters to the code page; empty
// when none did.
std::string ReplacedCharactersText(const TLossReport& losses);

}  // namespace iex
