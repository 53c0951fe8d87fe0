#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "db/FbRef.h"

namespace Firebird {
class IAttachment;
}

namespace iex::db {

class TTransaction;
class TServerWatch;

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
  // From another thread: drops the connection at once, for a server that
  // does not answer a cancel (stopped, frozen, or its network gone).
  void AbortConnection() noexcept;
  // Counts the server's answers (rows, executions): a watch that sees it
  // stand still knows the server stopped answering.
  uint64_t Answers() const { return answers_.load(std::memory_order_relaxed); }
  // Set when the connection was dropped because the server stopped
  // answering, for the words of the failure that follows.
  std::atomic<bool> DroppedSilentServer{false};
  // How long a call to a server may go without an answer before the
  // connection is dropped (0: forever). The statements of an export give
  // rows within seconds; a minute of silence is a server gone.
  static inline std::atomic<int> SilenceLimitSeconds{60};

  // Marks a call that waits on the server, for the watch.
  class TCall {
   public:
    explicit TCall(TDatabase& db) : db_(db) { db_.calls_.fetch_add(1); }
    ~TCall() {
      db_.calls_.fetch_sub(1);
      db_.NoteAnswer();
    }
    TCall(const TCall&) = delete;
    TCall& operator=(const TCall&) = delete;

   private:
    TDatabase& db_;
  };
  // The dialect statements are prepared in: 3, or the database's own when lower.
  unsigned Dialect() const { return dialect_; }

  Firebird::IAttachment* Handle() const { return attachment_.get(); }

 private:
  friend class TTransaction;
  void NoteAnswer() { answers_.fetch_add(1, std::memory_order_relaxed); }
  void Register(TTransaction* t) { transactions_.push_back(t); }
  void Unregister(TTransaction* t);

  void Cancel(int option) noexcept;

  // Guards the handle between the thread that owns the connection and one
  // that cancels: a cancel never reads a handle being reset.
  mutable std::mutex handleMutex_;
  fb::Ref<Firebird::IAttachment> attachment_;
  std::atomic<uint64_t> answers_{0};
  std::atomic<int> calls_{0};
  std::unique_ptr<TServerWatch> watch_;  // for a connection to a server
  unsigned dialect_ = 3;
  std::vector<TTransaction*> transactions_;
};

}  // namespace iex::db
