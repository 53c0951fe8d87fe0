#pragma once
#include <stdexcept>
#include <string>

namespace iex {

// The system's general error: a message text meant for the user.
class EMvError : public std::runtime_error {
 public:
  explicit EMvError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace iex
