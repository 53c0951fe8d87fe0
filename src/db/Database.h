#pragma once
#include <string>
#include <vector>

#include "db/FbRef.h"

namespace Firebird {
class IAttachment;
}

namespace iex::db {

class TTransaction;

// One connection. Parameters are lines "NAME=value": USER_NAME and PASSWORD.
// Text comes as stored (connection character set NONE); the statements
// have the engine convert what is in another set than the code page's.
class TDatabase {
 public:
  TDatabase();
  ~TDatabase();
  TDatabase(const TDatabase&) = delete;
  TDatabase& operator=(const TDatabase&) = delete;

  std::string DatabaseNameUtf8;  // the connection string; a file name in it is UTF-8
  std::vector<std::string> Params;
  // Offer the server the legacy login after SRP. Off unless the user asked:
  // a false server could collect the password's hash.
  bool AllowLegacyLogin = false;

  void Connect();  // raises EDatabaseError
  void Disconnect();
  bool Connected() const { return attachment_ != nullptr; }
  void SetConnected(bool value);
  // From another thread: ends the statement running on this connection with
  // an error, so a long query can be stopped. Nothing happens when none runs.
  void CancelOperation() noexcept;
  // The dialect statements are prepared in: 3, or the database's own when lower.
  unsigned Dialect() const { return dialect_; }

  Firebird::IAttachment* Handle() const { return attachment_.get(); }

 private:
  friend class TTransaction;
  void Register(TTransaction* t) { transactions_.push_back(t); }
  void Unregister(TTransaction* t);

  fb::Ref<Firebird::IAttachment> attachment_;
  unsigned dialect_ = 3;
  std::vector<TTransaction*> transactions_;
};

}  // namespace iex::db
