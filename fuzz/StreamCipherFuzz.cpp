// Deciphers arbitrary bytes under a key taken from the input; enciphering the
// result must give back a stream that deciphers to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "crypto/CardDecoding.h"
#include "crypto/Rijndael.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 17) return 0;
  const auto keySize = static_cast<iex::TRDLKeySize>(data[0] % 3);
  uint8_t key[32] = {};
  for (int i = 0; i < 32; ++i) key[i] = data[1 + i % 16];
  iex::TMemoryStream in(std::vector<uint8_t>(data + 17, data + size)), out;
  try {
    iex::RDLStreamCipher(in, out, key, false, keySize);
  } catch (const iex::ECipherException&) {
    return 0;
  }
  iex::TMemoryStream plain(out.Bytes()), again, back;
  iex::RDLStreamCipher(plain, again, key, true, keySize);
  again.SetPosition(0);
  iex::RDLStreamCipher(again, back, key, false, keySize);
  if (back.Bytes() != out.Bytes()) std::abort();
  iex::TRDLBlock cardKey{};
  std::copy(key, key + 16, cardKey.begin());
  iex::TMemoryStream card(std::vector<uint8_t>(data + 17, data + size));
  try {
    (void)iex::DecryptCCNumber(card, cardKey);
  } catch (const iex::ECipherException&) {
  }
  return 0;
}
