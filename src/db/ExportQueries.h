#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "export/InvoiceFilter.h"

namespace iex::db {

using SqlLines = std::vector<std::string>;

// Appends the WHERE clause lines of the filter; nothing when it is empty.
void AddFilters(SqlLines& lQuery, const TInvoiceFilter& filter);
std::string RangeCondition(const std::string& column, const std::string& low, const std::string& high);
// Whole days, whether the column is a DATE or a TIMESTAMP: from the first
// day's start to before the start of the day after the last. 0: no bound.
std::string DayRangeCondition(const std::string& column, double firstDay, double lastDay);
// "MM/DD/YYYY": the server reads a slashed date month first whatever the locale.
std::string FilterDateText(double dateValue);
std::string FilterNumberText(double number);

// Parts of the statements that other shapes of the same queries share.
extern const char* const kProfileColumns;    // the profile query's columns
extern const std::string kProfileSelect;     // its SELECT DISTINCT line
extern const char* const kProfileJoins;      // category, address and communication joins of P

// Every column: the order that makes the account file a function of the database alone.
extern const char* const kProfileOrder;

}  // namespace iex::db
