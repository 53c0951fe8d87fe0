#include "crypto/CardDecoder.h"

#include <algorithm>
#include <cstring>

#include "platform/Secrets.h"

namespace iex {

TCardDecoder::TCardDecoder(const TRDLBlock& key) { InitRDLContext(key.data(), 16, context_, false); }

TCardDecoder::~TCardDecoder() { WipeBytes(&context_, sizeof context_); }

std::string TCardDecoder::Decode(std::string_view sealed) const {
  if (sealed.empty()) return std::string();
  if (sealed.size() < 16) throw ECipherException();
  // As the stream routine reads it: whole blocks, the last of them holding
  // the padding; bytes after the last whole block are not read.
  const std::size_t blocks = sealed.size() / 16;
  std::string text;
  text.reserve(blocks * 16);
  TRDLBlock block;
  for (std::size_t i = 0; i < blocks; ++i) {
    std::memcpy(block.data(), sealed.data() + 16 * i, 16);
    RDLProcessBlock(context_, block);
    if (i + 1 < blocks) {
      text.append(reinterpret_cast<const char*>(block.data()), 16);
      continue;
    }
    const uint8_t pad = block[15];
    if (pad < 1 || pad > 16 || !std::all_of(block.end() - pad, block.end(), [pad](uint8_t b) { return b == pad; }))
      throw ECardKeyMismatch();
    text.append(reinterpret_cast<const char*>(block.data()), 16u - pad);
  }
  return text;
}

}  // namespace iex
