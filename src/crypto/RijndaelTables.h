#pragma once
#include <array>
#include <cstdint>

// The FIPS-197 constant tables, computed by the compiler.
namespace iex::rdl {

constexpr uint8_t XTime(uint8_t x) { return static_cast<uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1B : 0)); }

constexpr uint8_t GMul(uint8_t a, uint8_t b) {
  uint8_t p = 0;
  for (int i = 0; i < 8; ++i) {
    if (b & 1) p ^= a;
    a = XTime(a);
    b >>= 1;
  }
  return p;
}

constexpr uint8_t Rotl8(uint8_t x, int s) { return static_cast<uint8_t>((x << s) | (x >> (8 - s))); }
constexpr uint32_t Rotl32(uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

constexpr std::array<uint8_t, 256> MakeSBox() {
  std::array<uint8_t, 256> box{};
  uint8_t p = 1, q = 1;
  do {
    p = static_cast<uint8_t>(p ^ (p << 1) ^ ((p & 0x80) ? 0x1B : 0));  // times 3
    q = static_cast<uint8_t>(q ^ (q << 1));                              // divided by 3
    q = static_cast<uint8_t>(q ^ (q << 2));
    q = static_cast<uint8_t>(q ^ (q << 4));
    if (q & 0x80) q ^= 0x09;
    const uint8_t x = static_cast<uint8_t>(q ^ Rotl8(q, 1) ^ Rotl8(q, 2) ^ Rotl8(q, 3) ^ Rotl8(q, 4));
    box[p] = x ^ 0x63;
  } while (p != 1);
  box[0] = 0x63;
  return box;
}

constexpr std::array<uint8_t, 256> kSBox = MakeSBox();

constexpr std::array<uint8_t, 256> MakeInvSBox() {
  std::array<uint8_t, 256> inv{};
  for (int i = 0; i < 256; ++i) inv[kSBox[i]] = static_cast<uint8_t>(i);
  return inv;
}

constexpr std::array<uint8_t, 256> kInvSBox = MakeInvSBox();

// Row r of a column word sits in bits 8r..8r+7.
constexpr uint32_t Word(uint8_t r0, uint8_t r1, uint8_t r2, uint8_t r3) {
  return uint32_t{r0} | (uint32_t{r1} << 8) | (uint32_t{r2} << 16) | (uint32_t{r3} << 24);
}

// Table k is table 0 with its bytes rotated k rows down.
template <typename Row0>
constexpr std::array<std::array<uint32_t, 256>, 4> MakeTables(Row0 column) {
  std::array<std::array<uint32_t, 256>, 4> t{};
  for (int x = 0; x < 256; ++x) {
    const uint32_t w = column(static_cast<uint8_t>(x));
    for (int k = 0; k < 4; ++k) t[k][x] = k == 0 ? w : Rotl32(w, 8 * k);
  }
  return t;
}

constexpr auto kEncTables = MakeTables([](uint8_t x) {
  const uint8_t s = kSBox[x];
  return Word(GMul(s, 2), s, s, GMul(s, 3));
});

constexpr auto kDecTables = MakeTables([](uint8_t x) {
  return Word(GMul(x, 0x0E), GMul(x, 0x09), GMul(x, 0x0D), GMul(x, 0x0B));
});

constexpr std::array<uint32_t, 15> kRcon = {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40,
                                            0x80, 0x1B, 0x36, 0x6C, 0xD8, 0xAB, 0x4D};

}  // namespace iex::rdl
