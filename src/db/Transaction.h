#pragma once
#include <vector>

#include "db/FbRef.h"

namespace Firebird {
class ITransaction;
}

namespace iex::db {

class TDatabase;
class TQuery;

// A transaction with the server's default parameters (concurrency, wait,
// read-write). Several may be active on one connection at once.
class TTransaction {
 public:
  explicit TTransaction(TDatabase& database);
  ~TTransaction();
  TTransaction(const TTransaction&) = delete;
  TTransaction& operator=(const TTransaction&) = delete;

  void StartTransaction();  // an active transaction cannot be started again
  void Commit();            // closes this transaction's open queries first
  void Rollback();
  bool Active() const { return handle_ != nullptr; }

  TDatabase& Database() const { return *database_; }
  Firebird::ITransaction* Handle() const { return handle_.get(); }

 private:
  friend class TDatabase;
  friend class TQuery;
  void Register(TQuery* q) { queries_.push_back(q); }
  void Unregister(TQuery* q);
  void CloseQueries();
  void EndOnDisconnect();

  TDatabase* database_;
  fb::Ref<Firebird::ITransaction> handle_;
  std::vector<TQuery*> queries_;
};

}  // namespace iex::db
