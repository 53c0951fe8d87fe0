#pragma once
#include <string>

#include "db/DataModule.h"
#include "export/ExportSettings.h"
#include "util/StringGrid.h"

namespace iex {

constexpr int kTravelTypeRows = 50;  // rows shown and saved

// Fills the travel-type grid from the database, then the letters from the
// saved map (consumed) or, without one, from each row's category.
void FillTravelTypeGrid(TStringGrid& grid, db::TdmMain& dm, std::string& travelTypeMap);
// Applies a saved map to rows 1 onward; a last item without ";" counts too.
void ApplyTravelTypeMap(TStringGrid& grid, std::string& travelTypeMap);
void SetDefaultTravelTypeLetters(TStringGrid& grid);
// The text form: the upper-cased letter of rows 1 to 50, each followed by ";".
std::string BuildTravelTypeMap(const TStringGrid& grid);
// The letters of rows 1 to 50 with the travel-type number each row shows.
void TravelTypeLettersFromGrid(const TStringGrid& grid, ExportSettings& settings);

}  // namespace iex
