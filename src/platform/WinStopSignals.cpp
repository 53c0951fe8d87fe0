#include <windows.h>

#include <atomic>

#include "platform/StopSignals.h"

namespace iex {
namespace {

std::atomic<DWORD> gEvent{0};
std::atomic<bool> gCame{false};

BOOL WINAPI NoteStop(DWORD event) {
  if (gCame.exchange(true)) return FALSE;  // a second one ends the process
  gEvent = event;
  return TRUE;
}

}  // namespace

// Ctrl-C, Ctrl-Break and the console window closing.
TStopSignals::TStopSignals() {
  gCame = false;
  gEvent = 0;
  SetConsoleCtrlHandler(NoteStop, TRUE);
}

TStopSignals::~TStopSignals() { SetConsoleCtrlHandler(NoteStop, FALSE); }

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
