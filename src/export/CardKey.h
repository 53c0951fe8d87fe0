#pragma once
#include "crypto/Rijndael.h"
#include "db/DataModule.h"

namespace iex {

// Reads the card-number settings and derives the card key block from the
// key text. Raises "Invalid card key setting." when card numbers are
// enciphered and the key text yields no key: every card number would come
// out as garbage.
void ProcessCCEncrypt(db::TdmMain& dm, bool& IsCCEncrypt, TRDLBlock& CipherKey);

}  // namespace iex
