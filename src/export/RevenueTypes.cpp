#include "export/RevenueTypes.h"

#include "util/NumberText.h"

namespace iex {

const char* DefaultRevenueLetter(int travelCategory) {
  static const char* const kLetters[11] = {"O", "A", "H", "C", "S", "T", "R", "O", "I", "M", "O"};
  return (travelCategory >= 1 && travelCategory <= 10) ? kLetters[travelCategory] : "O";
}

std::string GetDefaultRevenueType(int travelCategory) { return DefaultRevenueLetter(travelCategory); }

std::string GetCategoryRevenueType(const ExportSettings& s, int travelCategory) {
  if (travelCategory < 1 || travelCategory > 10) return "O";
  return s.CategoryLetters[static_cast<std::size_t>(travelCategory)];
}

std::string GetTravelTypeRevenueType(const ExportSettings& s, int travelTypeNo) {
  // Found by the number the row shows, not by position: with gaps in the
  // numbering the row index and the travel-type number part ways.
  if (travelTypeNo == 0) return std::string();
  for (std::size_t row = 1; row < s.TravelTypeLetters.size(); ++row)
    if (s.TravelTypeLetters[row].travelTypeNo == travelTypeNo) return UpperAscii(s.TravelTypeLetters[row].letter);
  return std::string();
}

}  // namespace iex
