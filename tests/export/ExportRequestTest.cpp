#include <gtest/gtest.h>

#include "export/ExportRequest.h"

namespace iex {
namespace {

// A request with every letter given and the filters named.
TExportRequest Letters(std::optional<double> from = {}, std::optional<double> to = {}, int64_t fromNo = 0, int64_t toNo = 0,
                       std::optional<int32_t> branch = {}) {
  TExportRequest r;
  r.fromDate = from;
  r.toDate = to;
  r.fromNumber = fromNo;
  r.toNumber = toNo;
  r.branch = branch;
  for (auto& l : r.categoryLetters) l = "A";
  return r;
}

TEST(ExportRequest, OneTableOfChecksForTheWindowAndTheCommandLine) {
  const double jan1 = 43831, jan31 = 43861;  // 2020
  struct Case {
    const char* what;
    TExportRequest request;
    TRequestFault filters, mapping;
    int letter;
  } cases[] = {
      {"nothing chosen", Letters(), TRequestFault::NoFilter, TRequestFault::None, -1},
      {"a branch is a filter", Letters({}, {}, 0, 0, 0), TRequestFault::None, TRequestFault::None, -1},
      {"branch 7", Letters({}, {}, 0, 0, 7), TRequestFault::None, TRequestFault::None, -1},
      {"dates the wrong way round", Letters(jan31, jan1), TRequestFault::DateRange, TRequestFault::None, -1},
      {"equal dates pass", Letters(jan1, jan1), TRequestFault::None, TRequestFault::None, -1},
      {"one date alone", Letters({}, jan1), TRequestFault::None, TRequestFault::None, -1},
      {"numbers the wrong way round", Letters({}, {}, 500, 100), TRequestFault::NumberRange, TRequestFault::None, -1},
      {"dates are checked before numbers", Letters(jan31, jan1, 500, 100), TRequestFault::DateRange, TRequestFault::None, -1},
      {"a number alone", Letters({}, {}, 0, 100), TRequestFault::None, TRequestFault::None, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckFilters(c.request).fault, c.filters) << c.what;
    EXPECT_EQ(CheckMapping(c.request).fault, c.mapping) << c.what;
  }
  TExportRequest missing = Letters();
  missing.categoryLetters[5] = "";  // Rail
  const TRequestCheck check = CheckMapping(missing);
  EXPECT_EQ(check.fault, TRequestFault::MissingLetter);
  EXPECT_EQ(check.letter, 5);
  EXPECT_EQ(check.message, "Please enter mapping for all Travel Category.");
  EXPECT_EQ(CheckFilters(Letters(jan31, jan1)).message, "Invalid Invoice Date Range.");
  EXPECT_EQ(CheckFilters(Letters({}, {}, 5, 1)).message, "Invalid Invoice Number Range.");
}

TEST(ExportRequest, BecomesTheRunsSettings) {
  TExportRequest r = Letters(43831, {}, 7, 0, 12);
  r.mapBy = TMapBy::TravelType;
  r.itinerary = TItinerary::VendorName;
  r.categoryLetters[9] = "o";
  ExportSettings s;
  ApplyRequest(r, s);
  EXPECT_EQ(s.StartInvDate, 43831);
  EXPECT_EQ(s.EndInvDate, 0);
  EXPECT_EQ(s.StartInvNo, 7);
  EXPECT_EQ(s.BranchNo, 12);
  EXPECT_EQ(s.MapBy, 1);
  EXPECT_EQ(s.ItinMap, 1);
  EXPECT_EQ(s.CategoryLetters[1], "A");
  EXPECT_EQ(s.CategoryLetters[10], "o");
  ApplyRequest(Letters(), s);
  EXPECT_EQ(s.BranchNo, -1);
}

}  // namespace
}  // namespace iex
