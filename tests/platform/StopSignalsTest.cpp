#include <gtest/gtest.h>

#include <signal.h>

#include <csignal>
#include <future>
#include <thread>

#include "platform/StopSignals.h"

namespace iex {
namespace {

// The first signal is noted and hands the stop to a thread of its own,
// which cancels what runs; the handlers go when the object does.
TEST(StopSignals, TheFirstSignalIsNotedAndItsStopRunsOffTheHandler) {
  std::promise<std::thread::id> stopped;
  {
    TStopSignals signals([&] { stopped.set_value(std::this_thread::get_id()); });
    EXPECT_EQ(TStopSignals::Reason(), "");
    std::raise(SIGTERM);
    auto future = stopped.get_future();
    ASSERT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_NE(future.get(), std::this_thread::get_id());
    EXPECT_EQ(TStopSignals::Reason(), "interrupted by signal SIGTERM");
  }
  TStopSignals again;
  EXPECT_EQ(TStopSignals::Reason(), "") << "a new run starts with no stop asked";
}

// After a run whose files are in place, a late signal is ignored up to the
// exit: it cannot make the finished run end as if killed.
TEST(StopSignals, ALateSignalAfterTheFilesWentInIsIgnored) {
  struct sigaction before[2];
  sigaction(SIGINT, nullptr, &before[0]);
  sigaction(SIGTERM, nullptr, &before[1]);
  IgnoreStopSignalsUntilExit();
  std::raise(SIGINT);
  std::raise(SIGTERM);
  EXPECT_EQ(TStopSignals::Reason(), "");  // still here, and nothing noted
  sigaction(SIGINT, &before[0], nullptr);
  sigaction(SIGTERM, &before[1], nullptr);
}

}  // namespace
}  // namespace iex
