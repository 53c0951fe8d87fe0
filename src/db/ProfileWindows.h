#pragma once
#include <memory>

#include "db/Transaction.h"
#include "export/ExportRows.h"

namespace iex::db {

// The account rows of the selected invoices: for each client and vendor
// profile they name, in profile order, the first row of the profile in the
// order of all the profile columns; first of all, one row without a
// profile when an invoice or booking names none (or one that is gone).
// Profiles are read a window at a time, so memory stays one window's.
class TProfileWindows {
 public:
  TProfileWindows(TTransaction& tr, std::size_t windowLimit);
  ~TProfileWindows();
  void Open(const TInvoiceFilter& filter);
  bool Next(TProfileRow& row);
  void Close() noexcept;

 private:
  struct State;
  std::unique_ptr<State> s_;
};

}  // namespace iex::db
