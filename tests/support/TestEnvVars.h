#pragma once
#include <cstdlib>
#include <string>

namespace iex::test {

// The process environment, set the same way on every system.
inline void SetEnv(const std::string& name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name.c_str(), value.c_str());
#else
  setenv(name.c_str(), value.c_str(), 1);
#endif
}

}  // namespace iex::test
