#pragma once
#include <cstdint>

namespace iex::tools {

// The keys a kind of row gets, the n-th row of that kind (from 1): n itself,
// or, for a database whose keys do not rise with the invoices (bookings made
// long before they are invoiced, imports, merges), a fixed shuffle of
// 1..bound, so that keys stay dense but fall in any order.
class TKeyOrder {
 public:
  TKeyOrder() = default;  // keys in order
  TKeyOrder(uint64_t seed, uint32_t bound);
  int32_t Key(uint32_t n) const;

 private:
  uint32_t Permute(uint32_t x) const;

  uint64_t seed_ = 0;
  uint32_t bound_ = 0;  // 0: in order
  unsigned halfBits_ = 0;
};

}  // namespace iex::tools
