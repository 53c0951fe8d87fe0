#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <random>

#include "CryptoTestUtil.h"
#include "crypto/Rijndael.h"

namespace iex {
namespace {

const EVP_CIPHER* EcbOf(int keyBytes) {
  return keyBytes == 16 ? EVP_aes_128_ecb() : keyBytes == 24 ? EVP_aes_192_ecb() : EVP_aes_256_ecb();
}

std::vector<uint8_t> OpenSsl(const std::vector<uint8_t>& in, const std::vector<uint8_t>& key, bool encrypt, bool pad) {
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  EVP_CipherInit_ex(ctx, EcbOf(static_cast<int>(key.size())), nullptr, key.data(), nullptr, encrypt ? 1 : 0);
  EVP_CIPHER_CTX_set_padding(ctx, pad ? 1 : 0);
  std::vector<uint8_t> out(in.size() + 32);
  int n1 = 0, n2 = 0;
  EVP_CipherUpdate(ctx, out.data(), &n1, in.data(), static_cast<int>(in.size()));
  EVP_CipherFinal_ex(ctx, out.data() + n1, &n2);
  EVP_CIPHER_CTX_free(ctx);
  out.resize(static_cast<std::size_t>(n1 + n2));
  return out;
}

std::vector<uint8_t> Random(std::mt19937& rng, std::size_t n) {
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

class AgainstOpenSsl : public ::testing::TestWithParam<TRDLKeySize> {
 protected:
  int KeyBytes() const { return 16 + 8 * static_cast<int>(GetParam()); }
};

TEST_P(AgainstOpenSsl, BlockOperationOnRandomKeysAndBlocks) {
  std::mt19937 rng(1234 + KeyBytes());
  for (int i = 0; i < 3000; ++i) {
    const auto key = Random(rng, static_cast<std::size_t>(KeyBytes()));
    const auto plain = Random(rng, 16);
    TRDLCipherContext enc, dec;
    InitRDLContext(key.data(), KeyBytes(), enc, true);
    InitRDLContext(key.data(), KeyBytes(), dec, false);
    TRDLBlock block;
    std::copy(plain.begin(), plain.end(), block.begin());
    RDLProcessBlock(enc, block);
    const std::vector<uint8_t> ours(block.begin(), block.end());
    ASSERT_EQ(ours, OpenSsl(plain, key, true, false));
    RDLProcessBlock(dec, block);
    ASSERT_EQ(std::vector<uint8_t>(block.begin(), block.end()), plain);
    // And the other way round: decipher what OpenSSL deciphers.
    std::copy(plain.begin(), plain.end(), block.begin());
    RDLProcessBlock(dec, block);
    ASSERT_EQ(std::vector<uint8_t>(block.begin(), block.end()), OpenSsl(plain, key, false, false));
  }
}

TEST_P(AgainstOpenSsl, StreamRoutineMatchesPaddedEcb) {
  std::mt19937 rng(99 + KeyBytes());
  for (int i = 0; i < 2000; ++i) {
    const auto key = Random(rng, static_cast<std::size_t>(KeyBytes()));
    const auto plain = Random(rng, rng() % 101);
    const auto cipher = test::Stream(plain, key.data(), true, GetParam());
    ASSERT_EQ(cipher, OpenSsl(plain, key, true, true));
    ASSERT_EQ(test::Stream(cipher, key.data(), false, GetParam()), plain);
  }
}

INSTANTIATE_TEST_SUITE_P(KeySizes, AgainstOpenSsl,
                         ::testing::Values(TRDLKeySize::k128, TRDLKeySize::k192, TRDLKeySize::k256),
                         [](const auto& info) { return "Key" + std::to_string(128 + 64 * static_cast<int>(info.param)); });

}  // namespace
}  // namespace iex
