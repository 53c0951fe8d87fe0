#include "crypto/Rijndael.h"

#include <algorithm>

#include "crypto/RijndaelTables.h"

namespace iex {
namespace {

using namespace rdl;

inline uint32_t Load(const uint8_t* b) { return Word(b[0], b[1], b[2], b[3]); }

inline void Store(uint32_t w, uint8_t* b) {
  b[0] = static_cast<uint8_t>(w);
  b[1] = static_cast<uint8_t>(w >> 8);
  b[2] = static_cast<uint8_t>(w >> 16);
  b[3] = static_cast<uint8_t>(w >> 24);
}

inline uint8_t Row(uint32_t w, int r) { return static_cast<uint8_t>(w >> (8 * r)); }

inline uint32_t SubWord(uint32_t w) {
  return Word(kSBox[Row(w, 0)], kSBox[Row(w, 1)], kSBox[Row(w, 2)], kSBox[Row(w, 3)]);
}

void Encipher(const TRDLCipherContext& ctx, uint32_t s[4]) {
  const uint32_t* rk = ctx.RoundKeys.data();
  const auto& T = kEncTables;
  for (int c = 0; c < 4; ++c) s[c] ^= rk[c];
  for (int r = 1; r < ctx.Rounds; ++r) {
    rk += 4;
    uint32_t t[4];
    for (int c = 0; c < 4; ++c)
      t[c] = T[0][Row(s[c], 0)] ^ T[1][Row(s[(c + 1) & 3], 1)] ^ T[2][Row(s[(c + 2) & 3], 2)] ^
             T[3][Row(s[(c + 3) & 3], 3)] ^ rk[c];
    std::copy(t, t + 4, s);
  }
  rk += 4;
  uint32_t t[4];
  for (int c = 0; c < 4; ++c)
    t[c] = Word(kSBox[Row(s[c], 0)], kSBox[Row(s[(c + 1) & 3], 1)], kSBox[Row(s[(c + 2) & 3], 2)],
                kSBox[Row(s[(c + 3) & 3], 3)]) ^
           rk[c];
  std::copy(t, t + 4, s);
}

// InvShiftRows and InvSubBytes in one step.
inline void InvShiftSub(const uint32_t s[4], uint32_t u[4]) {
  for (int c = 0; c < 4; ++c)
    u[c] = Word(kInvSBox[Row(s[c], 0)], kInvSBox[Row(s[(c + 3) & 3], 1)], kInvSBox[Row(s[(c + 2) & 3], 2)],
                kInvSBox[Row(s[(c + 1) & 3], 3)]);
}

void Decipher(const TRDLCipherContext& ctx, uint32_t s[4]) {
  const uint32_t* rk = ctx.RoundKeys.data() + 4 * ctx.Rounds;
  const auto& D = kDecTables;
  uint32_t u[4];
  for (int c = 0; c < 4; ++c) s[c] ^= rk[c];
  InvShiftSub(s, u);
  for (int r = ctx.Rounds - 1; r >= 1; --r) {
    rk -= 4;
    for (int c = 0; c < 4; ++c) {
      const uint32_t v = u[c] ^ rk[c];
      s[c] = D[0][Row(v, 0)] ^ D[1][Row(v, 1)] ^ D[2][Row(v, 2)] ^ D[3][Row(v, 3)];
    }
    InvShiftSub(s, u);
  }
  rk -= 4;
  for (int c = 0; c < 4; ++c) s[c] = u[c] ^ rk[c];
}

}  // namespace

void InitRDLContext(const uint8_t* key, int32_t keySize, TRDLCipherContext& context, bool encrypt) {
  context = TRDLCipherContext{};
  context.Encrypt = encrypt;
  const int32_t copied = std::clamp(keySize, 0, 240);
  uint8_t bytes[240] = {};
  std::copy(key, key + copied, bytes);
  for (int i = 0; i < 60; ++i) context.RoundKeys[i] = Load(bytes + 4 * i);
  const int nk = std::clamp(keySize / 4, 4, 8);
  context.Rounds = nk + 6;
  uint32_t* w = context.RoundKeys.data();
  for (int i = nk; i < 4 * (context.Rounds + 1); ++i) {
    uint32_t temp = w[i - 1];
    if (i % nk == 0)
      temp = SubWord((temp >> 8) | (temp << 24)) ^ kRcon[i / nk];
    else if (nk != 4 && nk != 6 && i % nk == 4)
      temp = SubWord(temp);
    w[i] = w[i - nk] ^ temp;
  }
}

void RDLProcessBlock(const TRDLCipherContext& context, TRDLBlock& block) {
  uint32_t s[4];
  for (int c = 0; c < 4; ++c) s[c] = Load(block.data() + 4 * c);
  if (context.Encrypt)
    Encipher(context, s);
  else
    Decipher(context, s);
  for (int c = 0; c < 4; ++c) Store(s[c], block.data() + 4 * c);
}

void RDLStreamCipher(TByteStream& in, TByteStream& out, const uint8_t* key, bool encrypt, TRDLKeySize keySize) {
  const int32_t length = keySize == TRDLKeySize::k256 ? 32 : keySize == TRDLKeySize::k192 ? 24 : 16;
  TRDLCipherContext context;
  InitRDLContext(key, length, context, encrypt);
  const int64_t size = in.Size();
  int64_t blocks = size / 16;
  if (!encrypt) blocks -= 1;
  TRDLBlock block;
  for (int64_t i = 0; i < blocks; ++i) {
    if (in.Read(block.data(), 16) != 16) throw ECipherException();
    RDLProcessBlock(context, block);
    out.Write(block.data(), 16);
  }
  if (encrypt) {
    const auto rest = static_cast<std::size_t>(size % 16);
    block.fill(static_cast<uint8_t>(16 - rest));
    if (in.Read(block.data(), rest) != rest) throw ECipherException();
    RDLProcessBlock(context, block);
    out.Write(block.data(), 16);
  } else {
    if (in.Read(block.data(), 16) != 16) throw ECipherException();
    RDLProcessBlock(context, block);
    const uint8_t pad = block[15];
    if (pad < 16) out.Write(block.data(), 16u - pad);
  }
}

}  // namespace iex
