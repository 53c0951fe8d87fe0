#include "crypto/ByteStream.h"

#include <algorithm>
#include <cstring>

namespace iex {

std::size_t TMemoryStream::Read(uint8_t* buffer, std::size_t count) {
  const auto pos = static_cast<std::size_t>(pos_);
  if (pos >= bytes_.size() || count == 0) return 0;
  const std::size_t n = std::min(count, bytes_.size() - pos);
  std::memcpy(buffer, bytes_.data() + pos, n);
  pos_ += static_cast<int64_t>(n);
  return n;
}

void TMemoryStream::Write(const uint8_t* buffer, std::size_t count) {
  const auto pos = static_cast<std::size_t>(pos_);
  if (bytes_.size() < pos + count) bytes_.resize(pos + count);
  if (count) std::memcpy(bytes_.data() + pos, buffer, count);
  pos_ += static_cast<int64_t>(count);
}

}  // namespace iex
