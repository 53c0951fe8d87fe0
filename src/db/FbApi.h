#pragma once
// Private to the database layer: the client library's OO API and the
// translation of its errors into ours.
#include <firebird/Interface.h>

#include <utility>

#include "db/FbRef.h"

namespace iex::db::fb {

Firebird::IMaster* Master();

// A status for one call sequence; raises EDatabaseError in place of the
// client library's own exception type when used through Call.
class Status {
 public:
  Status();
  ~Status();
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;
  Firebird::ThrowStatusWrapper* operator&() { return &wrapper_; }

 private:
  Firebird::ThrowStatusWrapper wrapper_;
};

// Scope holders for the builder and provider interfaces of one call sequence.
struct BuilderScope {
  Firebird::IXpbBuilder* builder;
  ~BuilderScope() { builder->dispose(); }
};
struct ProviderScope {
  Ref<Firebird::IProvider> provider{Master()->getDispatcher()};
};

[[noreturn]] void Raise(const Firebird::FbException& e);

template <typename F>
auto Call(F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const Firebird::FbException& e) {
    Raise(e);
  }
}

// Ends an interface that may already be dead (a lost connection): the polite
// call, which lets go of the reference when it succeeds. When it fails the
// connection under it is gone, and the client library frees the object with
// the connection: releasing it as well reads freed memory (a crash seen on
// stops over TCP with the server lost), so it is let go unreleased.
template <typename I, typename End>
void Finish(Ref<I>& handle, End end) {
  if (!handle) return;
  try {
    Status st;
    end(handle.get(), &st);  // Firebird::ThrowStatusWrapper*
  } catch (const Firebird::FbException&) {
  }
  (void)handle.release();
}

}  // namespace iex::db::fb
