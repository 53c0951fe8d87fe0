#include "platform/Secrets.h"

namespace iex {

void WipeBytes(void* bytes, std::size_t size) noexcept {
  volatile unsigned char* p = static_cast<unsigned char*>(bytes);
  for (std::size_t i = 0; i < size; ++i) p[i] = 0;
}

void Wipe(std::string& secret) noexcept {
  WipeBytes(secret.data(), secret.size());
  secret.clear();
}

}  // namespace iex
