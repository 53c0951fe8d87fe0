#pragma once
#include <memory>

namespace iex::db::fb {

// Owns one reference to a client-library interface and releases it when it
// goes. Declared apart from the client headers so that class headers can
// hold interfaces they only forward-declare.
struct Releaser {
  template <typename I>
  void operator()(I* i) const noexcept {
    i->release();
  }
};
template <typename I>
using Ref = std::unique_ptr<I, Releaser>;

}  // namespace iex::db::fb
