#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "export/ExportSettings.h"

namespace iex {

enum class TMapBy { TravelCategory, TravelType };
enum class TItinerary { ByTravelCategory, VendorName };

// What the user asks of one export, as the window and the command line
// both hand it over, typed: the checks below are the one set both use.
struct TExportRequest {
  std::optional<double> fromDate, toDate;  // date values; none: the field is empty
  int64_t fromNumber = 0, toNumber = 0;    // 0: not set
  std::optional<int32_t> branch;           // none: every branch
  TMapBy mapBy = TMapBy::TravelCategory;
  TItinerary itinerary = TItinerary::ByTravelCategory;
  std::array<std::string, 10> categoryLetters;  // Air first, Other last
};

enum class TRequestFault { None, DateRange, NumberRange, NoFilter, MissingLetter };

struct TRequestCheck {
  TRequestFault fault = TRequestFault::None;
  std::string message;  // the system's text; NoFilter is worded by each front end
  int letter = -1;      // MissingLetter: the first empty one, 0-based
  explicit operator bool() const { return fault != TRequestFault::None; }
};

// The first page's checks in their order: date range, number range, no filter at all.
TRequestCheck CheckFilters(const TExportRequest& request);
// The second page's: every category letter given.
TRequestCheck CheckMapping(const TExportRequest& request);

// The filters and letters as the run takes them (the travel-type letters come from the grid).
void ApplyRequest(const TExportRequest& request, ExportSettings& settings);

}  // namespace iex
