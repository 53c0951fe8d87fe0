#include <windows.h>

#include <atomic>

#include "platform/StopSignals.h"

namespace iex {
namespace {

std::atomic<DWORD> gEvent{0};
std::atomic<bool> gCame{false};
std::function<void()> gOnStop;
// Set when the stop has been handled to its end (rolled back, cleaned up).
HANDLE gEnded = nullptr;

// Windows calls this on a thread of its own.
BOOL WINAPI NoteStop(DWORD event) {
  if (gCame.exchange(true)) return FALSE;  // a second one ends the process
  gEvent = event;
  if (gOnStop) gOnStop();
  // Closing the console, logging off or shutting down ends the process when
  // this returns: give the run the few seconds Windows allows to roll back
  // and remove its temporary files.
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
    if (gEnded) WaitForSingleObject(gEnded, 4500);
  return TRUE;
}

}  // namespace

TStopSignals::TStopSignals(std::function<void()> onStop) {
  gCame = false;
  gEvent = 0;
  gOnStop = std::move(onStop);
  // One event for the process: a handler may still wait on it as a run ends.
  if (!gEnded) gEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (gEnded) ResetEvent(gEnded);
  SetConsoleCtrlHandler(NoteStop, TRUE);
}

TStopSignals::~TStopSignals() {
  if (gEnded) SetEvent(gEnded);
  SetConsoleCtrlHandler(NoteStop, FALSE);
  gOnStop = nullptr;
}

void IgnoreStopSignalsUntilExit() { SetConsoleCtrlHandler(nullptr, TRUE); }

std::string TStopSignals::Reason() {
  if (!gCame) return std::string();
  switch (gEvent.load()) {
    case CTRL_C_EVENT: return "interrupted by Ctrl-C";
    case CTRL_BREAK_EVENT: return "interrupted by Ctrl-Break";
    case CTRL_CLOSE_EVENT: return "interrupted: the console window closed";
    default: return "interrupted by the system (log-off or shutdown)";
  }
}

}  // namespace iex
