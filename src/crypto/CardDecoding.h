#pragma once
#include <string>

#include "crypto/ByteStream.h"
#include "crypto/Rijndael.h"

namespace iex {

enum class TCipherKeyResult {
  Derived,  // CipherKey holds the block derived from the key text
  Empty,    // no key text; CipherKey unchanged
  Unusable  // the key text holds no 32 hexadecimal digits; CipherKey unchanged
};

// Derives the card key block: the build's key-derivation block enciphered
// under the key bytes of the key text. Raises EMvError when a digit pair is
// not hexadecimal.
TCipherKeyResult MakeCipherKey(const std::string& keyText, TRDLBlock& cipherKey);

// Deciphers one stored card value; an empty stream gives "".
std::string DecryptCCNumber(TByteStream& stream, const TRDLBlock& key);

}  // namespace iex
