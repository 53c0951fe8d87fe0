#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "platform/Error.h"

namespace iex::db {

// An error the database server or client library reported, with its own
// message text and SQL code.
class EDatabaseError : public EMvError {
 public:
  EDatabaseError(const std::string& message, int sqlCode, std::vector<long> codes = {}, int osError = 0)
      : EMvError(message), sqlCode_(sqlCode), codes_(std::move(codes)), osError_(osError) {}
  int SQLCode() const { return sqlCode_; }
  // The client library's error codes in the order reported, and the
  // operating system's error number when one came with them.
  const std::vector<long>& Codes() const { return codes_; }
  int OsError() const { return osError_; }
  bool Has(long code) const { return std::find(codes_.begin(), codes_.end(), code) != codes_.end(); }

 private:
  int sqlCode_;
  std::vector<long> codes_;
  int osError_;
};

// A column value that cannot be read in the asked form.
class EConvertError : public EMvError {
 public:
  using EMvError::EMvError;
};

}  // namespace iex::db
