#include "DbWriter.h"

#include <ibase.h>

#include <cmath>
#include <cstring>

#include "db/DbError.h"
#include "db/FbApi.h"
#include "platform/Console.h"

namespace iex::tools {

namespace fb = iex::db::fb;
using Firebird::ThrowStatusWrapper;

namespace {

constexpr int kIscDateToDateValue = 15018;

Firebird::IXpbBuilder* Dpb(fb::Status& st, const std::string& user, const std::string& password,
                           const std::string& connectionCharset) {
  auto* dpb = fb::Master()->getUtilInterface()->getXpbBuilder(&st, Firebird::IXpbBuilder::DPB, nullptr, 0);
  dpb->insertString(&st, isc_dpb_user_name, user.c_str());
  if (!password.empty()) dpb->insertString(&st, isc_dpb_password, password.c_str());
  dpb->insertString(&st, isc_dpb_lc_ctype, connectionCharset.c_str());
  dpb->insertTag(&st, isc_dpb_utf8_filename);  // file names are UTF-8, as the program passes them
  return dpb;
}

}  // namespace

// Creates or opens the database and starts the writing transaction.
std::unique_ptr<TDbWriter> TDbWriter::Attach(const std::string& path, const std::string& user, const std::string& password,
                                             bool create, const std::string& charset, const std::string& connectionCharset) {
  std::unique_ptr<TDbWriter> w(new TDbWriter);
  UseUtf8FileNames();
  fb::Call([&] {
    fb::Status st;
    auto* dpb = Dpb(st, user, password, connectionCharset);
    fb::BuilderScope builderScope{dpb};
    fb::ProviderScope scope;
    if (create) {
      dpb->insertInt(&st, isc_dpb_page_size, 8192);
      dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
      dpb->insertInt(&st, isc_dpb_force_write, 0);
      if (!charset.empty()) dpb->insertString(&st, isc_dpb_set_db_charset, charset.c_str());
      w->attachment_.reset(scope.provider->createDatabase(&st, path.c_str(), dpb->getBufferLength(&st), dpb->getBuffer(&st)));
    } else {
      w->attachment_.reset(scope.provider->attachDatabase(&st, path.c_str(), dpb->getBufferLength(&st), dpb->getBuffer(&st)));
    }
    w->transaction_.reset(w->attachment_->startTransaction(&st, 0, nullptr));
  });
  return w;
}

std::unique_ptr<TDbWriter> TDbWriter::Create(const std::string& path, const std::string& charset) {
  // The generator's texts are Windows-1252: the engine puts them into the database's own set.
  return Attach(path, "SYSDBA", "", true, charset, charset.empty() ? "NONE" : "WIN1252");
}

std::unique_ptr<TDbWriter> TDbWriter::Open(const std::string& path, const std::string& user, const std::string& password,
                                           const std::string& connectionCharset) {
  return Attach(path, user, password, false, "", connectionCharset);
}

TDbWriter::~TDbWriter() {
  fb::Finish(transaction_, [](Firebird::ITransaction* t, ThrowStatusWrapper* st) { t->commit(st); });
  fb::Finish(attachment_, [](Firebird::IAttachment* a, ThrowStatusWrapper* st) { a->detach(st); });
}

void TDbWriter::Execute(const std::string& sql) {
  fb::Call([&] {
    fb::Status st;
    attachment_->execute(&st, transaction_.get(), 0, sql.c_str(), 3, nullptr, nullptr, nullptr, nullptr);
  });
}

void TDbWriter::Commit() {
  fb::Call([&] {
    fb::Status st;
    transaction_->commit(&st);
    (void)transaction_.release();  // committed: it has let go of itself
    transaction_.reset(attachment_->startTransaction(&st, 0, nullptr));
  });
}

void TDbWriter::ExecuteScript(const std::string& script) {
  std::string term = ";";
  std::string statement;
  std::size_t pos = 0;
  while (pos < script.size()) {
    std::size_t eol = script.find('\n', pos);
    if (eol == std::string::npos) eol = script.size();
    std::string line = script.substr(pos, eol - pos);
    pos = eol + 1;
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line.compare(first, 2, "--") == 0) continue;
    if (line.compare(first, 8, "SET TERM") == 0) {
      const auto rest = line.substr(first + 8);
      const auto b = rest.find_first_not_of(' ');
      term = rest.substr(b, rest.find(' ', b) - b);
      continue;
    }
    statement += line + "\n";
    const auto end = statement.find_last_not_of(" \t\r\n");
    if (end != std::string::npos && end + 1 >= term.size() && statement.compare(end + 1 - term.size(), term.size(), term) == 0) {
      Execute(statement.substr(0, end + 1 - term.size()));
      Commit();
      statement.clear();
    }
  }
}

TDbWriter::Insert::Insert(TDbWriter& writer, const std::string& sql) : writer_(writer) {
  fb::Call([&] {
    fb::Status st;
    statement_.reset(writer_.attachment_->prepare(&st, writer_.transaction_.get(), 0, sql.c_str(), 3, 0));
    meta_.reset(statement_->getInputMetadata(&st));
    buffer_.assign(meta_->getMessageLength(&st), 0);
  });
}

TDbWriter::Insert::~Insert() {
  meta_.reset();
  fb::Finish(statement_, [](Firebird::IStatement* s, ThrowStatusWrapper* st) { s->free(st); });
}

void TDbWriter::Insert::Run(const std::vector<Value>& values) {
  fb::Call([&] {
    fb::Status st;
    const unsigned count = meta_->getCount(&st);
    if (values.size() != count) throw EMvError("Insert expects " + std::to_string(count) + " values.");
    for (unsigned i = 0; i < count; ++i) {
      unsigned char* data = buffer_.data() + meta_->getOffset(&st, i);
      int16_t isNull = std::holds_alternative<std::monostate>(values[i]) ? -1 : 0;
      std::memcpy(buffer_.data() + meta_->getNullOffset(&st, i), &isNull, sizeof isNull);
      if (isNull) continue;
      const unsigned type = meta_->getType(&st, i) & ~1u;
      const unsigned length = meta_->getLength(&st, i);
      const Value& v = values[i];
      if (const auto* n = std::get_if<int64_t>(&v)) {
        if (type == SQL_LONG) {
          const auto x = static_cast<int32_t>(*n);
          std::memcpy(data, &x, 4);
        } else if (type == SQL_SHORT) {
          const auto x = static_cast<int16_t>(*n);
          std::memcpy(data, &x, 2);
        } else if (type == SQL_INT64) {
          std::memcpy(data, n, 8);
        } else {
          throw EMvError("Parameter " + std::to_string(i) + " is not a whole number.");
        }
      } else if (const auto* s = std::get_if<std::string>(&v)) {
        if ((type != SQL_VARYING && type != SQL_TEXT) || s->size() > length)
          throw EMvError("Parameter " + std::to_string(i) + " text does not fit: " + *s);
        if (type == SQL_TEXT) {
          std::memset(data, ' ', length);
          std::memcpy(data, s->data(), s->size());
        } else {
          const auto len = static_cast<uint16_t>(s->size());
          std::memcpy(data, &len, 2);
          std::memcpy(data + 2, s->data(), s->size());
        }
      } else if (const auto* d = std::get_if<Date>(&v)) {
        const auto x = static_cast<ISC_DATE>(std::floor(d->value)) + kIscDateToDateValue;
        std::memcpy(data, &x, sizeof x);
      } else if (const auto* t = std::get_if<Timestamp>(&v)) {
        ISC_TIMESTAMP ts;
        const double day = std::floor(t->value);
        ts.timestamp_date = static_cast<ISC_DATE>(day) + kIscDateToDateValue;
        ts.timestamp_time = static_cast<ISC_TIME>(std::llround((t->value - day) * 86400.0 * ISC_TIME_SECONDS_PRECISION));
        std::memcpy(data, &ts, sizeof ts);
      } else if (const auto* b = std::get_if<Bytes>(&v)) {
        ISC_QUAD id;
        db::fb::Ref<Firebird::IBlob> blob(writer_.attachment_->createBlob(&st, writer_.transaction_.get(), &id, 0, nullptr));
        if (!b->data.empty()) blob->putSegment(&st, static_cast<unsigned>(b->data.size()), b->data.data());
        blob->close(&st);
        (void)blob.release();  // closed: it has let go of itself
        std::memcpy(data, &id, sizeof id);
      }
    }
    statement_->execute(&st, writer_.transaction_.get(), meta_.get(), buffer_.data(), nullptr, nullptr);
  });
}

}  // namespace iex::tools
