#include "app/qt/UiCalls.h"

#include <exception>
#include <memory>

namespace iex::qt {

bool TUiCalls::Call(const std::function<void()>& f) {
  struct TPending {
    bool done = false;
    std::exception_ptr error;
  };
  auto pending = std::make_shared<TPending>();
  {
    std::lock_guard<std::mutex> lock(m_);
    if (abandoned_) return false;
  }
  post_([this, pending, &f] {
    {
      // An abandoned caller has gone on: `f` may refer to what it no longer has.
      std::lock_guard<std::mutex> lock(m_);
      if (abandoned_) return;
    }
    try {
      f();
    } catch (...) {
      pending->error = std::current_exception();
    }
    {
      std::lock_guard<std::mutex> lock(m_);
      pending->done = true;
    }
    cv_.notify_all();
  });
  std::unique_lock<std::mutex> lock(m_);
  cv_.wait(lock, [&] { return pending->done || abandoned_; });
  if (!pending->done) return false;
  if (pending->error) std::rethrow_exception(pending->error);
  return true;
}

void TUiCalls::Abandon() {
  {
    std::lock_guard<std::mutex> lock(m_);
    abandoned_ = true;
  }
  cv_.notify_all();
}

}  // namespace iex::qt
