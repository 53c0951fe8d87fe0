#pragma once
#include <memory>
#include <vector>

#include "db/Transaction.h"
#include "export/ExportRows.h"

namespace iex::db {

// The booking records of the selected invoices, in invoice and booking
// order, read a window of invoices at a time: the invoices, their bookings,
// and then each linked table by the keys the window needs. The memory held
// is one window's, however large the database.
class TBookingWindows {
 public:
  TBookingWindows(TTransaction& tr, std::size_t windowLimit);
  ~TBookingWindows();
  void Open(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt);
  bool Next(TBookingRecord& record);
  void Close() noexcept;

 private:
  struct State;
  std::unique_ptr<State> s_;
};

}  // namespace iex::db
