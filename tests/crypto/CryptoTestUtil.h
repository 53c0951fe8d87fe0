#pragma once
#include <string>
#include <vector>

#include "crypto/ByteStream.h"
#include "crypto/Rijndael.h"

namespace iex::test {

inline std::vector<uint8_t> Hex(const std::string& h) {
  std::vector<uint8_t> out;
  for (std::size_t i = 0; i + 1 < h.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoi(h.substr(i, 2), nullptr, 16)));
  return out;
}

inline TRDLBlock Block(const std::string& h) {
  TRDLBlock b{};
  const auto v = Hex(h);
  std::copy(v.begin(), v.end(), b.begin());
  return b;
}

inline std::vector<uint8_t> Stream(const std::vector<uint8_t>& in, const uint8_t* key, bool encrypt,
                                   TRDLKeySize size = TRDLKeySize::k128) {
  TMemoryStream src(in), dst;
  RDLStreamCipher(src, dst, key, encrypt, size);
  return dst.Bytes();
}

}  // namespace iex::test
