#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace iex::db {

// Watches a connection to a server from a thread of its own, so that no
// wait on the server is endless:
// - a stop that a cancel did not end within a second (the server is frozen,
//   or busy in a statement it does not look up from) drops the connection;
// - a call that gets no answer for `silence` (the server stopped, its
//   network is gone) drops it too, and says so.
// It only looks on: the connection's owner counts answers and calls.
class TServerWatch {
 public:
  struct Hooks {
    std::function<uint64_t()> answers;  // grows with every answer of the server
    std::function<bool()> inCall;       // a call waits on the server now
    std::function<void()> drop;         // drops the connection at once
    std::function<void()> droppedSilent;  // notes why, before dropping
  };
  TServerWatch(Hooks hooks, std::chrono::milliseconds silence);
  ~TServerWatch();
  TServerWatch(const TServerWatch&) = delete;
  TServerWatch& operator=(const TServerWatch&) = delete;

  // A stop was asked (and the running statement cancelled).
  void StopAsked();

  static constexpr std::chrono::milliseconds kStopGrace{1000};

 private:
  void Run();

  Hooks hooks_;
  std::chrono::milliseconds silence_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool ending_ = false;
  bool stopAsked_ = false;
  std::chrono::steady_clock::time_point stopAskedAt_;
  std::thread thread_;
};

}  // namespace iex::db
