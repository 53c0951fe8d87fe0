#pragma once
#include <array>
#include <cstdint>

#include "crypto/ByteStream.h"
#include "platform/Error.h"

namespace iex {

// Rijndael with a 128-bit block (FIPS-197 AES), table-driven.

using TRDLBlock = std::array<uint8_t, 16>;  // byte 4c + r is row r of column c

struct TRDLCipherContext {
  bool Encrypt = false;
  int32_t Rounds = 0;
  // Key-schedule word w[i]; its byte 0 is the low 8 bits.
  std::array<uint32_t, 60> RoundKeys{};
};

enum class TRDLKeySize : uint8_t { k128 = 0, k192 = 1, k256 = 2 };

class ECipherException : public EMvError {
 public:
  ECipherException() : EMvError("Invalid format.") {}
};

// KeySize is a byte count from 1 to 240; below 16 the key is read as four
// words padded with zeros, above 32 as eight words.
void InitRDLContext(const uint8_t* key, int32_t keySize, TRDLCipherContext& context, bool encrypt);
void RDLProcessBlock(const TRDLCipherContext& context, TRDLBlock& block);

// Electronic-codebook order with a padding of 1 to 16 bytes. Reads from the
// input's position (the block count comes from its total size) and writes at
// the output's position. Raises ECipherException on a short read.
void RDLStreamCipher(TByteStream& in, TByteStream& out, const uint8_t* key, bool encrypt, TRDLKeySize keySize);

}  // namespace iex
