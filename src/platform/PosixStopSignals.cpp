#include <signal.h>

#include <csignal>

#include "platform/StopSignals.h"

namespace iex {
namespace {

volatile std::sig_atomic_t gSignal = 0;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction gPrevious[3];

extern "C" void NoteStop(int sig) { gSignal = sig; }

}  // namespace

TStopSignals::TStopSignals() {
  gSignal = 0;
  struct sigaction sa {};
  sa.sa_handler = NoteStop;
  sa.sa_flags = SA_RESETHAND;  // a second signal ends the process
  sigemptyset(&sa.sa_mask);
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &sa, &gPrevious[i]);
}

TStopSignals::~TStopSignals() {
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &gPrevious[i], nullptr);
}

std::string TStopSignals::Reason() {
  switch (gSignal) {
    case 0: return std::string();
    case SIGINT: return "interrupted by signal SIGINT (Ctrl-C)";
    case SIGTERM: return "interrupted by signal SIGTERM";
    case SIGHUP: return "interrupted by signal SIGHUP (the terminal closed)";
    default: return "interrupted by a signal";
  }
}

}  // namespace iex
