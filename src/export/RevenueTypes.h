#pragma once
#include <string>

#include "export/ExportSettings.h"

namespace iex {

// Default revenue-type letters of the ten travel categories; "O" otherwise.
std::string GetDefaultRevenueType(int travelCategory);
const char* DefaultRevenueLetter(int travelCategory);
// The user's letter for the category, as typed; "O" outside 1 to 10.
std::string GetCategoryRevenueType(const ExportSettings& s, int travelCategory);
// The letter of the grid row that shows this travel type, upper-cased; empty
// when no row shows it.
std::string GetTravelTypeRevenueType(const ExportSettings& s, int travelTypeNo);

}  // namespace iex
