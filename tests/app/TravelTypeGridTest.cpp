#include <gtest/gtest.h>

#include "app/TravelTypeGrid.h"

namespace iex {
namespace {

TEST(TravelTypeGrid, MapTextIsFiftyUpperCasedItems) {
  TStringGrid grid;
  grid.SetCell(1, 1, "h");
  grid.SetCell(1, 3, "c");
  const std::string map = BuildTravelTypeMap(grid);
  EXPECT_EQ(map, "H;;C;" + std::string(47, ';'));
  EXPECT_EQ(std::count(map.begin(), map.end(), ';'), 50);
}

TEST(TravelTypeGrid, SavedMapIsPositionalAndConsumed) {
  TStringGrid grid;
  grid.SetCell(1, 4, "old");
  std::string map = "A;;xy;";
  ApplyTravelTypeMap(grid, map);
  EXPECT_TRUE(map.empty());
  EXPECT_EQ(grid.Cell(1, 1), "A");
  EXPECT_EQ(grid.Cell(1, 2), "");
  EXPECT_EQ(grid.Cell(1, 3), "xy");
  EXPECT_EQ(grid.Cell(1, 4), "old");  // fewer items than rows: later rows keep what they held
  std::string unterminated = "A;B";
  ApplyTravelTypeMap(grid, unterminated);
  EXPECT_EQ(grid.Cell(1, 2), "B");
}

TEST(TravelTypeGrid, DefaultsFollowEachRowsCategory) {
  TStringGrid grid;
  const std::pair<const char*, const char*> rows[] = {{"1", "A"}, {"2", "H"}, {"9", "M"}, {"", ""}, {"11", ""}, {"7", "O"}};
  int row = 1;
  for (const auto& [category, letter] : rows) grid.SetCell(2, row++, category);
  SetDefaultTravelTypeLetters(grid);
  row = 1;
  for (const auto& [category, letter] : rows) EXPECT_EQ(grid.Cell(1, row++), letter) << category;
  EXPECT_EQ(grid.Cell(1, 40), "");
}

TEST(TravelTypeGrid, LettersCarryTheNumberEachRowShows) {
  TStringGrid grid;
  grid.SetCell(0, 1, "1. Air Domestic");
  grid.SetCell(1, 1, "a");
  grid.SetCell(0, 21, "22. Ferry");
  grid.SetCell(1, 21, "F");
  ExportSettings s;
  TravelTypeLettersFromGrid(grid, s);
  EXPECT_EQ(s.TravelTypeLetters[1].travelTypeNo, 1);
  EXPECT_EQ(s.TravelTypeLetters[1].letter, "a");
  EXPECT_EQ(s.TravelTypeLetters[21].travelTypeNo, 22);
  EXPECT_EQ(s.TravelTypeLetters[30].travelTypeNo, 0);
}

}  // namespace
}  // namespace iex
