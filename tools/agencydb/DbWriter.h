#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "db/FbRef.h"

namespace Firebird {
class IAttachment;
class ITransaction;
class IStatement;
class IMessageMetadata;
}  // namespace Firebird

namespace iex::tools {

struct Date {
  double value;  // date value, days since 30 December 1899
};
struct Timestamp {
  double value;
};
struct Bytes {
  std::string data;
};
using Value = std::variant<std::monostate, int64_t, std::string, Date, Timestamp, Bytes>;

// Writes an agency database: creates it with the embedded engine (or opens
// one), runs scripts and inserts rows. For the generator and for tests that
// shape a database; the product itself never writes.
class TDbWriter {
 public:
  // `charset`: the database's default character set (empty: NONE).
  static std::unique_ptr<TDbWriter> Create(const std::string& path, const std::string& charset = "");
  // `connectionCharset`: what the texts this writer sends are in.
  static std::unique_ptr<TDbWriter> Open(const std::string& path, const std::string& user = "SYSDBA",
                                         const std::string& password = "", const std::string& connectionCharset = "NONE");
  ~TDbWriter();

  void Execute(const std::string& sql);        // one statement, in the open transaction
  void ExecuteScript(const std::string& script);  // statements split at the terminator; SET TERM understood; DDL committed as it goes
  void Commit();                               // commits and starts a new transaction

  class Insert {
   public:
    Insert(TDbWriter& writer, const std::string& sql);
    ~Insert();
    void Run(const std::vector<Value>& values);

   private:
    TDbWriter& writer_;
    db::fb::Ref<Firebird::IStatement> statement_;
    db::fb::Ref<Firebird::IMessageMetadata> meta_;
    std::vector<unsigned char> buffer_;
  };

 private:
  TDbWriter() = default;
  static std::unique_ptr<TDbWriter> Attach(const std::string& path, const std::string& user, const std::string& password,
                                           bool create, const std::string& charset, const std::string& connectionCharset);
  db::fb::Ref<Firebird::IAttachment> attachment_;
  db::fb::Ref<Firebird::ITransaction> transaction_;
};

}  // namespace iex::tools
