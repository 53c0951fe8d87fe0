#pragma once
#include <condition_variable>
#include <functional>
#include <mutex>

namespace iex::qt {

// Calls from the run's thread that the window's thread makes. The caller
// waits for them, unless the window ends first (its display gone, the
// process exiting without an event loop): then every waiting and every
// later call returns unmade, so a run is never stuck on a window that no
// longer serves it and can stop and clean up at once.
class TUiCalls {
 public:
  using TPost = std::function<void(std::function<void()>)>;  // runs a task on the window's thread
  explicit TUiCalls(TPost post) : post_(std::move(post)) {}

  // Makes `f` on the window's thread and waits; false when abandoned (not
  // made). An exception from `f` reaches the caller.
  bool Call(const std::function<void()>& f);
  // On the window's thread.
  void Abandon();

 private:
  TPost post_;
  std::mutex m_;
  std::condition_variable cv_;
  bool abandoned_ = false;
};

}  // namespace iex::qt
