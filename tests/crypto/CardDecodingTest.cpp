#include <gtest/gtest.h>

#include "CryptoTestUtil.h"
#include "crypto/CardDecoding.h"
#include "platform/Error.h"

namespace iex {
namespace {

using test::Block;

constexpr const char* kKeyText = "{00112233-4455-6677-8899-AABBCCDDEEFF}";

TRDLBlock DerivedKey(const std::string& text) {
  TRDLBlock k{};
  EXPECT_EQ(MakeCipherKey(text, k), TCipherKeyResult::Derived) << text;
  return k;
}

TEST(MakeCipherKey, EnciphersTheBuildBlockUnderTheKeyBytes) {
  const TRDLBlock key = DerivedKey(kKeyText);
  TRDLCipherContext ctx;
  const auto keyBytes = test::Hex("00112233445566778899AABBCCDDEEFF");
  InitRDLContext(keyBytes.data(), 16, ctx, true);
  TRDLBlock expected = Block(IEX_CARD_KEY_BLOCK);
  RDLProcessBlock(ctx, expected);
  EXPECT_EQ(key, expected);
}

TEST(MakeCipherKey, CaseBracketsAndHyphensDoNotMatter) {
  const TRDLBlock key = DerivedKey(kKeyText);
  for (const char* text : {"{00112233-4455-6677-8899-aabbccddeeff}", "X00112233445566778899AABBCCDDEEFFY",
                           "[0-0112233445566778899AABBCCDDEEF-F]", "(00112233-4455-6677-8899-AABBCCDDEEFF)"})
    EXPECT_EQ(DerivedKey(text), key) << text;
}

TEST(MakeCipherKey, EmptyOrWrongLengthLeavesTheKeyAlone) {
  TRDLBlock key;
  key.fill(0xA5);
  const TRDLBlock before = key;
  EXPECT_EQ(MakeCipherKey("", key), TCipherKeyResult::Empty);
  EXPECT_EQ(MakeCipherKey("{0011}", key), TCipherKeyResult::Unusable);
  EXPECT_EQ(MakeCipherKey("00112233445566778899AABBCCDDEEFF", key), TCipherKeyResult::Unusable);
  EXPECT_EQ(MakeCipherKey("x", key), TCipherKeyResult::Unusable);
  EXPECT_THROW(MakeCipherKey("{0011223344556677889GAABBCCDDEEFF}", key), EMvError);
  EXPECT_EQ(key, before);
}

std::vector<uint8_t> Encipher(const std::string& text, const TRDLBlock& key) {
  return test::Stream(std::vector<uint8_t>(text.begin(), text.end()), key.data(), true);
}

std::string Decrypt(const std::vector<uint8_t>& bytes, const TRDLBlock& key) {
  TMemoryStream s(bytes);
  s.SetPosition(static_cast<int64_t>(bytes.size()));  // the routine rewinds itself
  return DecryptCCNumber(s, key);
}

TEST(DecryptCCNumber, GivesBackTheCardText) {
  const TRDLBlock key = DerivedKey(kKeyText);
  const std::string card = "VI 4111111111111111/0326";
  EXPECT_EQ(Decrypt(Encipher(card, key), key), card);
  const std::string twenty = "AX 378282246310005/1";
  ASSERT_EQ(twenty.size(), 20u);
  EXPECT_EQ(Encipher(twenty, key).size(), 32u);
  EXPECT_EQ(Decrypt(Encipher(twenty, key), key), twenty);
  EXPECT_EQ(Decrypt(Encipher("", key), key), "");
  EXPECT_EQ(Decrypt({}, key), "");
  EXPECT_EQ(Decrypt(Encipher("caf\xE9", key), key), "caf\xE9");
}

TEST(DecryptCCNumber, PartialBlockRaisesInvalidFormat) {
  const TRDLBlock key = DerivedKey(kKeyText);
  EXPECT_THROW(Decrypt({1, 2, 3, 4, 5}, key), ECipherException);
}


}  // namespace
}  // namespace iex
