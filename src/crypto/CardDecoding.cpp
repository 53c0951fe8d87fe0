#include "crypto/CardDecoding.h"

#include <algorithm>

#include "platform/Error.h"
#include "util/NumberText.h"

namespace iex {
namespace {

constexpr int HexValue(char c) {
  return (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
}

constexpr TRDLBlock ParseBlock(const char* hex) {
  TRDLBlock b{};
  for (int i = 0; i < 16; ++i) b[i] = static_cast<uint8_t>(HexValue(hex[2 * i]) * 16 + HexValue(hex[2 * i + 1]));
  return b;
}

// Set by the build (IEX_CARD_KEY_BLOCK); never shown to anyone.
constexpr TRDLBlock kKeyDerivationBlock = ParseBlock(IEX_CARD_KEY_BLOCK);

}  // namespace

TCipherKeyResult MakeCipherKey(const std::string& keyText, TRDLBlock& cipherKey) {
  if (keyText.empty()) return TCipherKeyResult::Empty;
  std::string inner = keyText.size() >= 2 ? keyText.substr(1, keyText.size() - 2) : std::string();
  inner.erase(std::remove(inner.begin(), inner.end(), '-'), inner.end());
  if (inner.size() != 32) return TCipherKeyResult::Unusable;
  uint8_t keyBytes[16] = {};
  for (int i = 0; i < 16; ++i) {
    const int hi = HexValue(inner[2 * i]);
    const int lo = HexValue(inner[2 * i + 1]);
    if (hi < 0 || lo < 0) throw EMvError("'" + inner.substr(2 * i, 2) + "' is not a valid hexadecimal value");
    keyBytes[i] = static_cast<uint8_t>(hi * 16 + lo);
  }
  TRDLCipherContext context;
  InitRDLContext(keyBytes, 16, context, true);
  TRDLBlock block = kKeyDerivationBlock;
  RDLProcessBlock(context, block);
  cipherKey = block;
  return TCipherKeyResult::Derived;
}

std::string DecryptCCNumber(TByteStream& stream, const TRDLBlock& key) {
  if (stream.Size() == 0) return std::string();
  TMemoryStream output;
  stream.SetPosition(0);
  RDLStreamCipher(stream, output, key.data(), false, TRDLKeySize::k128);
  const auto& bytes = output.Bytes();
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace iex
