#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace iex {

// One row of the travel-type grid as the export sees it: the travel-type
// number the row shows and the letter the user gave it.
struct TTravelTypeLetter {
  int32_t travelTypeNo = 0;  // 0 for a row without a travel type
  std::string letter;
};

// The largest invoice number a filter takes: every whole number up to it is
// shown, kept and compared exactly (a larger one would show as 1.2E15 and
// come back as another number).
constexpr int64_t kMaxInvoiceNumber = 999'999'999'999'999;

// The user's choices that the wizard or the command line hands to the run.
struct ExportSettings {
  double StartInvNo = 0;  // 0 = not set
  double EndInvNo = 0;
  double StartInvDate = 0;  // date values; 0 = not set
  double EndInvDate = 0;
  int32_t BranchNo = -1;  // -1 = all branches
  int MapBy = 0;          // 0 by travel category, anything else by travel type
  std::array<std::string, 11> CategoryLetters;          // indexed 1 to 10
  std::array<TTravelTypeLetter, 51> TravelTypeLetters;  // grid rows 1 to 50
  int ItinMap = 0;  // 0 varies by travel category, anything else the vendor name
};

}  // namespace iex
