#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace iex::db {

using SqlLines = std::vector<std::string>;

// The invoices the user chose. -1 is every branch; 0 numbers and dates are unset.
struct TInvoiceFilter {
  int32_t BranchNo = -1;
  double StartInvNo = 0;
  double EndInvNo = 0;
  double StartInvDate = 0;  // date values
  double EndInvDate = 0;

  bool Empty() const { return BranchNo == -1 && !StartInvNo && !EndInvNo && !StartInvDate && !EndInvDate; }
};

// Appends the WHERE clause lines of the filter; nothing when it is empty.
void AddFilters(SqlLines& lQuery, const TInvoiceFilter& filter);
std::string RangeCondition(const std::string& column, const std::string& low, const std::string& high);
// "MM/DD/YYYY": the server reads a slashed date month first whatever the locale.
std::string FilterDateText(double dateValue);
std::string FilterNumberText(double number);

// The orders that make an export's bytes a function of the database alone.
extern const char* const kInvoiceOrder;
extern const char* const kProfileOrder;

SqlLines ProfileQueryLines(const TInvoiceFilter& filter);
SqlLines InvoiceQueryLines(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt);
SqlLines UdidQueryLines();

}  // namespace iex::db
