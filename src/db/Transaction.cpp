#include "db/Transaction.h"

#include <algorithm>

#include "db/Database.h"
#include "db/DbError.h"
#include "db/FbApi.h"
#include "db/Query.h"

namespace iex::db {

TTransaction::TTransaction(TDatabase& database) : database_(&database) { database.Register(this); }

TTransaction::~TTransaction() {
  CloseQueries();
  if (handle_ && database_) {
    const TDatabase::TCall call(*database_);
    fb::Finish(handle_, [](Firebird::ITransaction* t, Firebird::ThrowStatusWrapper* st) { t->rollback(st); });
  }
  for (TQuery* q : queries_) q->transaction_ = nullptr;
  if (database_) database_->Unregister(this);
}

void TTransaction::Unregister(TQuery* q) { queries_.erase(std::remove(queries_.begin(), queries_.end(), q), queries_.end()); }

void TTransaction::CloseQueries() {
  for (TQuery* q : queries_) q->Close();
}

void TTransaction::StartTransaction() {
  if (handle_) throw EMvError("Transaction is already active.");
  if (!database_ || !database_->Connected()) throw EMvError("Database not connected.");
  const TDatabase::TCall call(*database_);
  fb::Call([&] {
    fb::Status st;
    handle_.reset(database_->Handle()->startTransaction(&st, 0, nullptr));
  });
}

void TTransaction::Commit() {
  if (!handle_) throw EMvError("Transaction is not active.");
  CloseQueries();
  const TDatabase::TCall call(*database_);
  fb::Call([&] {
    fb::Status st;
    handle_->commit(&st);
  });
  (void)handle_.release();  // a committed transaction has let go of itself
}

void TTransaction::Rollback() {
  if (!handle_) throw EMvError("Transaction is not active.");
  CloseQueries();
  try {
    const TDatabase::TCall call(*database_);
    fb::Call([&] {
      fb::Status st;
      handle_->rollback(&st);
    });
  } catch (...) {
    // A dead connection cannot roll back; the server does that when it sees
    // the connection go. Let go of the handle either way.
    handle_.reset();
    throw;
  }
  (void)handle_.release();  // rolled back: it has let go of itself
}

void TTransaction::EndOnDisconnect() {
  CloseQueries();
  for (TQuery* q : queries_) q->Unprepare();
  const TDatabase::TCall call(*database_);
  fb::Finish(handle_, [](Firebird::ITransaction* t, Firebird::ThrowStatusWrapper* st) { t->rollback(st); });
}

}  // namespace iex::db
