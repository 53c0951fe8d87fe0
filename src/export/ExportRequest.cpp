#include "export/ExportRequest.h"

namespace iex {

TRequestCheck CheckFilters(const TExportRequest& r) {
  const double from = r.fromDate.value_or(0), to = r.toDate.value_or(0);
  if (from > 0 && to > 0 && to < from) return {TRequestFault::DateRange, "Invalid Invoice Date Range."};
  if (r.fromNumber > 0 && r.toNumber > 0 && r.toNumber < r.fromNumber)
    return {TRequestFault::NumberRange, "Invalid Invoice Number Range."};
  if (!r.fromDate && !r.toDate && r.fromNumber == 0 && r.toNumber == 0 && !r.branch)
    return {TRequestFault::NoFilter, "No filter criteria selected."};
  return {};
}

TRequestCheck CheckMapping(const TExportRequest& r) {
  for (int i = 0; i < 10; ++i)
    if (r.categoryLetters[static_cast<std::size_t>(i)].empty())
      return {TRequestFault::MissingLetter, "Please enter mapping for all Travel Category.", i};
  return {};
}

void ApplyRequest(const TExportRequest& r, ExportSettings& s) {
  s.StartInvDate = r.fromDate.value_or(0);
  s.EndInvDate = r.toDate.value_or(0);
  s.StartInvNo = static_cast<double>(r.fromNumber);
  s.EndInvNo = static_cast<double>(r.toNumber);
  s.BranchNo = r.branch.value_or(-1);
  s.MapBy = r.mapBy == TMapBy::TravelCategory ? 0 : 1;
  s.ItinMap = r.itinerary == TItinerary::ByTravelCategory ? 0 : 1;
  for (int i = 0; i < 10; ++i) s.CategoryLetters[static_cast<std::size_t>(i + 1)] = r.categoryLetters[static_cast<std::size_t>(i)];
}

}  // namespace iex
