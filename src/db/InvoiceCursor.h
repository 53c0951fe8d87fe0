#pragma once
#include <optional>
#include <string>
#include <vector>

#include "db/Query.h"
#include "db/Window.h"
#include "export/ExportRows.h"

namespace iex::db {

// An invoice's own values, as its booking lines show them, and its links.
struct TInvoicePart {
  int32_t invoiceNo = 0;
  std::string branch, invoiceNumber;
  double issueDate = 0;
  std::string invoiceType, recordLocator, invoiceGroup, payStatus;
  std::optional<int32_t> client, insideAgentBkg, outsideAgentBkg;
  TLossyColumns lossy;
};

// The invoices the filter selects, in key order, cut into windows. The one
// statement reads the invoice table alone, so its plan is the filter's
// index (or the key's) whatever the engine knows of the data.
class TInvoiceCursor {
 public:
  explicit TInvoiceCursor(TTransaction& tr) : q_(tr) {}
  void Open(const TInvoiceFilter& filter);
  // The next window's invoices (each key once) and its bounds; false at the end.
  bool Next(std::vector<TInvoicePart>& invoices, TWindow& window);
  void Close() noexcept { q_.Close(); }

 private:
  void Read(TInvoicePart& part) const;

  TQuery q_;
  int invoiceNo_ = 0, branch_ = 0, number_ = 0, issueDate_ = 0, type_ = 0, client_ = 0, inside_ = 0, outside_ = 0,
      locator_ = 0, group_ = 0, payStatus_ = 0;
};

}  // namespace iex::db
