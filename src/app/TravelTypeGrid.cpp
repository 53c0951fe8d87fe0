#include "app/TravelTypeGrid.h"

#include "export/RevenueTypes.h"
#include <cstdlib>

#include "platform/Error.h"
#include "util/NumberText.h"

namespace iex {

void ApplyTravelTypeMap(TStringGrid& grid, std::string& travelTypeMap) {
  // One pass along the text: a long map takes as long as it is, no longer.
  std::size_t from = 0;
  for (int row = 1; from < travelTypeMap.size(); ++row) {
    const auto semicolon = travelTypeMap.find(';', from);
    const std::size_t end = semicolon == std::string::npos ? travelTypeMap.size() : semicolon;
    grid.SetCell(1, row, travelTypeMap.substr(from, end - from));
    from = end + 1;
  }
  travelTypeMap.clear();
}

void SetDefaultTravelTypeLetters(TStringGrid& grid) {
  for (int row = 1; row <= kTravelTypeRows; ++row) {
    const std::string category = grid.Cell(2, row);
    const int n = category.empty() ? 0 : std::atoi(category.c_str());
    grid.SetCell(1, row, (n >= 1 && n <= 10 && std::to_string(n) == category) ? GetDefaultRevenueType(n) : "");
  }
}

void FillTravelTypeGrid(TStringGrid& grid, db::TdmMain& dm, std::string& travelTypeMap) {
  grid.SetCell(0, 0, "MOVRA Travel Type");
  grid.SetCell(1, 0, "Revenue Type");
  dm.PrepareTravelTypes(grid);
  if (!travelTypeMap.empty())
    ApplyTravelTypeMap(grid, travelTypeMap);
  else
    SetDefaultTravelTypeLetters(grid);
}

std::string BuildTravelTypeMap(const TStringGrid& grid) {
  std::string map;
  for (int row = 1; row <= kTravelTypeRows; ++row) map += UpperAscii(grid.Cell(1, row)) + ";";
  return map;
}

void TravelTypeLettersFromGrid(const TStringGrid& grid, ExportSettings& settings) {
  for (int row = 1; row <= kTravelTypeRows; ++row) {
    const std::string shown = grid.Cell(0, row);  // "12. Hotel Package"
    const auto dot = shown.find(". ");
    int number = 0;
    if (dot != std::string::npos && dot > 0) {
      try {
        number = TextToInt(shown.substr(0, dot));
      } catch (const EMvError&) {
        number = 0;
      }
    }
    settings.TravelTypeLetters[static_cast<std::size_t>(row)] = {number, grid.Cell(1, row)};
  }
}

}  // namespace iex
