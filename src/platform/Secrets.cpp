#include "platform/Secrets.h"

namespace iex {

void Wipe(std::string& secret) noexcept {
  volatile char* p = secret.data();
  for (std::size_t i = 0; i < secret.size(); ++i) p[i] = 0;
  secret.clear();
}

}  // namespace iex
