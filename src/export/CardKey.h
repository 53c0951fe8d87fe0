#pragma once
#include "crypto/Rijndael.h"
#include "export/ExportSource.h"

namespace iex {

// Derives the card key block from the settings' key text. Raises "Invalid
// card key setting." when card numbers are enciphered and the key text
// yields no key: every card number would come out as garbage.
void ProcessCCEncrypt(const TCardSettings& settings, bool& IsCCEncrypt, TRDLBlock& CipherKey);

}  // namespace iex
