#pragma once
#include <string>

#include "platform/Error.h"

namespace iex::db {

// An error the database server or client library reported, with its own
// message text and SQL code.
class EDatabaseError : public EMvError {
 public:
  EDatabaseError(const std::string& message, int sqlCode) : EMvError(message), sqlCode_(sqlCode) {}
  int SQLCode() const { return sqlCode_; }

 private:
  int sqlCode_;
};

// A column value that cannot be read in the asked form.
class EConvertError : public EMvError {
 public:
  using EMvError::EMvError;
};

}  // namespace iex::db
