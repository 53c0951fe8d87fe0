#pragma once
#include <string>

namespace iex {

// While one lives, Ctrl-C (SIGINT), SIGTERM and SIGHUP ask the export to stop
// instead of ending the process at once; a second such signal ends it as
// usual. The previous handlers come back when it ends.
class TStopSignals {
 public:
  TStopSignals();
  ~TStopSignals();
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

  // "interrupted by signal SIGINT (Ctrl-C)", or empty while none came.
  static std::string Reason();
};

}  // namespace iex
