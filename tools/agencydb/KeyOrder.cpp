#include "KeyOrder.h"

#include <stdexcept>

namespace iex::tools {
namespace {

uint32_t Mix(uint64_t x) {
  x ^= x >> 33;
  x *= 0xFF51AFD7ED558CCDULL;
  x ^= x >> 33;
  x *= 0xC4CEB9FE1A85EC53ULL;
  x ^= x >> 33;
  return static_cast<uint32_t>(x);
}

}  // namespace

TKeyOrder::TKeyOrder(uint64_t seed, uint32_t bound) : seed_(seed), bound_(bound) {
  if (bound == 0 || bound > (1u << 30)) throw std::invalid_argument("key bound out of range");
  // A Feistel network needs an even number of bits covering 0..bound-1.
  unsigned bits = 2;
  while ((uint64_t{1} << bits) < bound) bits += 2;
  halfBits_ = bits / 2;
}

// A bijection on 0..4^halfBits-1: four Feistel rounds keyed by the seed.
uint32_t TKeyOrder::Permute(uint32_t x) const {
  const uint32_t mask = (1u << halfBits_) - 1;
  uint32_t left = x >> halfBits_, right = x & mask;
  for (uint32_t round = 0; round < 4; ++round) {
    const uint32_t next = left ^ (Mix(seed_ * 4 + round + (uint64_t{right} << 32)) & mask);
    left = right;
    right = next;
  }
  return (left << halfBits_) | right;
}

int32_t TKeyOrder::Key(uint32_t n) const {
  if (bound_ == 0) return static_cast<int32_t>(n);
  if (n == 0 || n > bound_) throw std::out_of_range("more rows than the key bound");
  // Cycle walking keeps the permutation inside 0..bound-1.
  uint32_t x = n - 1;
  do x = Permute(x);
  while (x >= bound_);
  return static_cast<int32_t>(x + 1);
}

}  // namespace iex::tools
