#include <gtest/gtest.h>

#include "CryptoTestUtil.h"
#include "crypto/Rijndael.h"

namespace iex {
namespace {

using test::Block;
using test::Hex;
using test::Stream;

TEST(Rijndael, Fips197AppendixCBothDirections) {
  struct Vector {
    const char* key;
    const char* cipher;
    int rounds;
  } vectors[] = {
      {"000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a", 10},
      {"000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191", 12},
      {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", "8ea2b7ca516745bfeafc49904b496089", 14},
  };
  for (const auto& v : vectors) {
    const auto key = Hex(v.key);
    TRDLCipherContext enc, dec;
    InitRDLContext(key.data(), static_cast<int32_t>(key.size()), enc, true);
    InitRDLContext(key.data(), static_cast<int32_t>(key.size()), dec, false);
    EXPECT_EQ(enc.Rounds, v.rounds);
    TRDLBlock block = Block("00112233445566778899aabbccddeeff");
    RDLProcessBlock(enc, block);
    EXPECT_EQ(block, Block(v.cipher)) << v.key;
    RDLProcessBlock(dec, block);
    EXPECT_EQ(block, Block("00112233445566778899aabbccddeeff")) << v.key;
  }
}

TEST(Rijndael, OddKeyLengthsAreClampedToFourOrEightWords) {
  const auto key16 = Hex("0102030405060708090a000000000000");
  TRDLCipherContext shortKey, padded;
  InitRDLContext(key16.data(), 10, shortKey, true);
  InitRDLContext(key16.data(), 16, padded, true);
  EXPECT_EQ(shortKey.Rounds, 10);
  EXPECT_EQ(shortKey.RoundKeys, padded.RoundKeys);

  std::vector<uint8_t> key40(40, 7);
  TRDLCipherContext longKey, key32;
  InitRDLContext(key40.data(), 40, longKey, true);
  InitRDLContext(key40.data(), 32, key32, true);
  EXPECT_EQ(longKey.Rounds, 14);
  for (int i = 0; i < 60; ++i) EXPECT_EQ(longKey.RoundKeys[i], key32.RoundKeys[i]);
}

TEST(RDLStreamCipher, PaddingAndBlockCounts) {
  const auto key = Hex("000102030405060708090a0b0c0d0e0f");
  EXPECT_EQ(Stream({}, key.data(), true).size(), 16u);
  const std::vector<uint8_t> sixteen(16, 'x');
  const auto c32 = Stream(sixteen, key.data(), true);
  EXPECT_EQ(c32.size(), 32u);
  EXPECT_EQ(Stream(c32, key.data(), false), sixteen);
  const std::vector<uint8_t> five = {'1', '2', '3', '4', '5'};
  const auto c16 = Stream(five, key.data(), true);
  EXPECT_EQ(c16.size(), 16u);
  EXPECT_EQ(Stream(c16, key.data(), false), five);
  // Bytes past the last whole block are ignored.
  auto c20 = c16;
  c20.insert(c20.end(), {1, 2, 3, 4});
  EXPECT_EQ(Stream(c20, key.data(), false), five);
}

TEST(RDLStreamCipher, ShortInputRaisesInvalidFormat) {
  const auto key = Hex("000102030405060708090a0b0c0d0e0f");
  for (std::size_t n : {0u, 1u, 10u, 15u}) {
    try {
      Stream(std::vector<uint8_t>(n, 1), key.data(), false);
      FAIL() << n;
    } catch (const ECipherException& e) {
      EXPECT_STREQ(e.what(), "Invalid format.");
    }
  }
}

TEST(RDLStreamCipher, FinalPaddingByteIsTakenAsItComes) {
  const auto key = Hex("000102030405060708090a0b0c0d0e0f");
  TRDLCipherContext enc;
  InitRDLContext(key.data(), 16, enc, true);
  auto cipherOf = [&](uint8_t last) {
    TRDLBlock b{};
    b.fill('a');
    b[15] = last;
    RDLProcessBlock(enc, b);
    return std::vector<uint8_t>(b.begin(), b.end());
  };
  EXPECT_EQ(Stream(cipherOf(0), key.data(), false).size(), 16u);
  EXPECT_EQ(Stream(cipherOf(16), key.data(), false).size(), 0u);
  EXPECT_EQ(Stream(cipherOf(17), key.data(), false).size(), 0u);
  EXPECT_EQ(Stream(cipherOf(200), key.data(), false).size(), 0u);
}

}  // namespace
}  // namespace iex
