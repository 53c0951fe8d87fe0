#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/StopSignals.h"

namespace iex {
namespace {

volatile std::sig_atomic_t gSignal = 0;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction gPrevious[3];
// The handler's way out: one byte per signal to the watching thread.
int gPipe[2] = {-1, -1};
constexpr char kStop = 1, kQuit = 0;

extern "C" void NoteStop(int sig) {
  const int saved = errno;
  gSignal = sig;
  if (gPipe[1] >= 0) (void)!::write(gPipe[1], &kStop, 1);
  errno = saved;
}

}  // namespace

TStopSignals::TStopSignals(std::function<void()> onStop) {
  gSignal = 0;
  if (onStop && ::pipe2(gPipe, O_CLOEXEC) == 0) {
    watcher_ = std::thread([fd = gPipe[0], onStop = std::move(onStop)] {
      for (;;) {
        char c = kQuit;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || c == kQuit) return;
        onStop();
      }
    });
  }
  struct sigaction sa {};
  sa.sa_handler = NoteStop;
  sa.sa_flags = SA_RESETHAND;  // a second signal ends the process
  sigemptyset(&sa.sa_mask);
  for (int i = 0; i < 3; ++i) {
    sigaction(kSignals[i], nullptr, &gPrevious[i]);
    // nohup, and a shell starting a job in the background, ignore SIGHUP or
    // SIGINT on purpose: the run must outlive the terminal or its Ctrl-C.
    if (kSignals[i] != SIGTERM && gPrevious[i].sa_handler == SIG_IGN) continue;
    sigaction(kSignals[i], &sa, nullptr);
  }
}

TStopSignals::~TStopSignals() {
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &gPrevious[i], nullptr);
  if (watcher_.joinable()) {
    (void)!::write(gPipe[1], &kQuit, 1);
    watcher_.join();
  }
  for (int& fd : gPipe) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

void IgnoreStopSignalsUntilExit() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  for (int signal : kSignals) sigaction(signal, &ignore, nullptr);
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
