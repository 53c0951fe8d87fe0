#include "db/ServerWatch.h"

namespace iex::db {

TServerWatch::TServerWatch(Hooks hooks, std::chrono::milliseconds silence)
    : hooks_(std::move(hooks)), silence_(silence), thread_([this] { Run(); }) {}

TServerWatch::~TServerWatch() {
  {
    const std::lock_guard lock(mutex_);
    ending_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void TServerWatch::StopAsked() {
  {
    const std::lock_guard lock(mutex_);
    if (stopAsked_) return;
    stopAsked_ = true;
    stopAskedAt_ = std::chrono::steady_clock::now();
  }
  wake_.notify_all();
}

void TServerWatch::Run() {
  using Clock = std::chrono::steady_clock;
  constexpr auto kLook = std::chrono::milliseconds(100);
  uint64_t lastAnswers = hooks_.answers();
  Clock::time_point lastChange = Clock::now();
  std::unique_lock lock(mutex_);
  while (!ending_) {
    wake_.wait_for(lock, kLook);
    if (ending_) return;
    const Clock::time_point now = Clock::now();
    const uint64_t answers = hooks_.answers();
    const bool inCall = hooks_.inCall();
    if (answers != lastAnswers || !inCall) {
      lastAnswers = answers;
      lastChange = now;
    }
    // After a stop, the run's own calls end at once or the server is not listening.
    const bool stopOverdue = stopAsked_ && inCall && now - stopAskedAt_ >= kStopGrace && now - lastChange >= kStopGrace;
    const bool silent = silence_.count() > 0 && inCall && now - lastChange >= silence_;
    if (!stopOverdue && !silent) continue;
    lock.unlock();
    if (silent && !stopOverdue) hooks_.droppedSilent();
    hooks_.drop();
    lock.lock();
    stopAsked_ = false;
    lastChange = Clock::now();
  }
}

}  // namespace iex::db
