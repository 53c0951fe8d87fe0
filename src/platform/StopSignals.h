#pragma once
#include <functional>
#include <string>
#include <thread>

namespace iex {

// While one lives, Ctrl-C (SIGINT), SIGTERM and SIGHUP (on Windows Ctrl-C,
// Ctrl-Break and the console closing) ask the export to stop instead of
// ending the process at once; a second such signal ends it as usual. The
// previous handlers come back when it ends.
class TStopSignals {
 public:
  // `onStop` runs on a thread of its own (never in the signal handler) as
  // soon as the first signal comes: it cancels what is running, so the stop
  // does not wait for a query to give its next row.
  explicit TStopSignals(std::function<void()> onStop = {});
  ~TStopSignals();
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

  // "interrupted by signal SIGINT (Ctrl-C)", or empty while none came.
  static std::string Reason();


 private:
  std::thread watcher_;
};

// For a process whose work is done (the files in place): the stop signals
// are ignored from here to its exit, so a late one cannot make a finished
// run end as if killed.
void IgnoreStopSignalsUntilExit();

}  // namespace iex
