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

// Parts of the statements that other shapes of the same queries share.
extern const char* const kProfileSelect;     // the profile query's column list
extern const char* const kProfileJoins;      // category, address and communication joins of P
extern const char* const kInvoiceFrom;       // invoice, client, booking, travel type, vendor, reservation, card
extern const char* const kDestinationJoin;   // the card's first destination (schema 80 on)
extern const char* const kAgentJoins;        // the inside and outside agents of I

// The orders that make an export's bytes a function of the database alone.
extern const char* const kInvoiceOrder;
extern const char* const kProfileOrder;

SqlLines ProfileQueryLines(const TInvoiceFilter& filter);
SqlLines InvoiceQueryLines(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt);
SqlLines UdidQueryLines();

}  // namespace iex::db
