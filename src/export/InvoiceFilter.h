#pragma once
#include <cstdint>

namespace iex {

// The invoices the user chose. -1 is every branch; 0 numbers and dates are unset.
struct TInvoiceFilter {
  int32_t BranchNo = -1;
  double StartInvNo = 0;
  double EndInvNo = 0;
  double StartInvDate = 0;  // date values
  double EndInvDate = 0;

  bool Empty() const { return BranchNo == -1 && !StartInvNo && !EndInvNo && !StartInvDate && !EndInvDate; }
};

}  // namespace iex
