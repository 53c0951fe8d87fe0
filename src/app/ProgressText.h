#pragma once
#include <string>

#include "export/ExportProgress.h"

namespace iex {

// A run's progress as the window and the terminal show it.
struct TProgressDisplay {
  std::string statusText;    // lStatus: "Exporting Profile No:", "Exporting Invoice No:", or empty
  std::string statusNumber;  // lStatusNo: the number written last
  std::string phase;         // "Writing invoices", "Export Done.", ...
  std::string count;         // "8076 of 29561 invoices"
  bool busy = false;         // the length is not known: a busy bar, never an empty one
  long value = 0, maximum = 0;
};

TProgressDisplay DescribeProgress(const TExportProgress& progress);

// The run's elapsed time beside its phase: "Writing invoices  1:05".
std::string PhaseWithClock(const std::string& phase, double elapsedSeconds);

// "1 booking", "2 bookings".
std::string Counted(long n, const char* singular, const char* plural);

}  // namespace iex
