#include <signal.h>

#include "platform/SignalsKept.h"

namespace iex {

struct TSignalsKept::Saved {
  static constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};
  struct sigaction actions[3];
};

TSignalsKept::TSignalsKept() : saved_(new Saved) {
  for (int i = 0; i < 3; ++i) sigaction(Saved::kSignals[i], nullptr, &saved_->actions[i]);
}

TSignalsKept::~TSignalsKept() {
  for (int i = 0; i < 3; ++i) sigaction(Saved::kSignals[i], &saved_->actions[i], nullptr);
  delete saved_;
}

}  // namespace iex
