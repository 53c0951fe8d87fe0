#pragma once
#include <string>
#include <string_view>

#include "crypto/Rijndael.h"

namespace iex {

// A stored card value whose last block does not end in 1 to 16 padding
// bytes that each hold the padding length: it was enciphered under another
// key, and what comes out would be garbage.
class ECardKeyMismatch : public EMvError {
 public:
  ECardKeyMismatch() : EMvError("The card numbers cannot be deciphered with this card key.") {}
};

// Deciphers the card values of one run under one card key block: the same
// text as DecryptCCNumber, with the key schedule made once, and the padding
// checked so a wrong key is never written as a card number.
class TCardDecoder {
 public:
  explicit TCardDecoder(const TRDLBlock& key);
  ~TCardDecoder();  // the key schedule wiped
  TCardDecoder(const TCardDecoder&) = delete;
  TCardDecoder& operator=(const TCardDecoder&) = delete;
  // "" for an empty value; ECipherException for a value shorter than a
  // block; ECardKeyMismatch when the padding is not whole.
  std::string Decode(std::string_view sealed) const;

 private:
  TRDLCipherContext context_;
};

}  // namespace iex
