// Calls from a run's thread to the window's: made and waited for, errors
// passed back, and never a wait on a window that has ended.
#include "app/qt/UiCalls.h"

#include <gtest/gtest.h>

#include <deque>
#include <future>
#include <stdexcept>

namespace iex::qt {
namespace {

// The window's thread is the test's: posted tasks wait in a queue until run.
struct TQueue {
  std::mutex m;
  std::deque<std::function<void()>> tasks;
  std::condition_variable posted;
  TUiCalls calls{[this](std::function<void()> task) {
    std::lock_guard<std::mutex> lock(m);
    tasks.push_back(std::move(task));
    posted.notify_all();
  }};
  void RunOne() {
    std::unique_lock<std::mutex> lock(m);
    posted.wait(lock, [&] { return !tasks.empty(); });
    auto task = std::move(tasks.front());
    tasks.pop_front();
    lock.unlock();
    task();
  }
};

TEST(UiCalls, ACallIsMadeOnTheWindowsThreadAndItsErrorComesBack) {
  TQueue q;
  int made = 0;
  auto call = std::async(std::launch::async, [&] { return q.calls.Call([&] { ++made; }); });
  q.RunOne();
  EXPECT_TRUE(call.get());
  EXPECT_EQ(made, 1);
  auto failing = std::async(std::launch::async, [&] { q.calls.Call([] { throw std::runtime_error("no"); }); });
  q.RunOne();
  EXPECT_THROW(failing.get(), std::runtime_error);
}

TEST(UiCalls, TheWindowEndingReleasesAWaitingCallAndRefusesLaterOnes) {
  TQueue q;
  bool made = false;
  auto call = std::async(std::launch::async, [&] { return q.calls.Call([&] { made = true; }); });
  {
    std::unique_lock<std::mutex> lock(q.m);
    q.posted.wait(lock, [&] { return !q.tasks.empty(); });
  }
  q.calls.Abandon();
  EXPECT_FALSE(call.get());
  q.RunOne();  // the task, run late, leaves the gone caller's call unmade
  EXPECT_FALSE(made);
  EXPECT_FALSE(q.calls.Call([&] { made = true; }));
  EXPECT_FALSE(made);
}

}  // namespace
}  // namespace iex::qt
