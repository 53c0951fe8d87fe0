#include "db/Query.h"

#include <algorithm>
#include <cstring>

#include "db/Charsets.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/FbApi.h"
#include "db/NamedParams.h"
#include "db/Transaction.h"
#include "util/NumberText.h"

namespace iex::db {

using Firebird::ThrowStatusWrapper;

TQuery::TQuery(TTransaction& transaction) : transaction_(&transaction) { transaction.Register(this); }

TQuery::~TQuery() {
  Close();
  Unprepare();
  if (transaction_) transaction_->Unregister(this);
}

void TQuery::ClearSQL() {
  Close();
  lines_.clear();
  dirty_ = true;
}

void TQuery::AddLine(const std::string& line) {
  Close();
  lines_.push_back(line);
  dirty_ = true;
}

void TQuery::SetSQL(const std::vector<std::string>& lines) {
  Close();
  lines_ = lines;
  dirty_ = true;
}

std::string TQuery::SQLText() const {
  std::string text;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i) text += '\n';
    text += lines_[i];
  }
  return text;
}

void TQuery::SetParamInteger(const std::string& name, int64_t value) { paramValues_[UpperAscii(name)] = value; }

void TQuery::Unprepare() {
  inMeta_.reset();
  outMeta_.reset();
  if (statement_ && transaction_) {
    const TDatabase::TCall call(transaction_->Database());
    fb::Finish(statement_, [](Firebird::IStatement* s, ThrowStatusWrapper* st) { s->free(st); });
  }
  statement_.reset();
  columns_.clear();
  dirty_ = true;
}

void TQuery::Prepare() {
  Unprepare();
  const TranslatedSql sql = TranslateNamedParams(SQLText());
  paramNames_ = sql.names;
  TDatabase& db = transaction_->Database();
  const TDatabase::TCall call(db);
  fb::Call([&] {
    fb::Status st;
    statement_.reset(db.Handle()->prepare(&st, transaction_->Handle(), 0, sql.text.c_str(), db.Dialect(),
                                          Firebird::IStatement::PREPARE_PREFETCH_METADATA));
    // Every input parameter is bound as a whole number; the server converts.
    const fb::Ref<Firebird::IMessageMetadata> in(statement_->getInputMetadata(&st));
    const unsigned inputs = in->getCount(&st);
    const fb::Ref<Firebird::IMetadataBuilder> builder(in->getBuilder(&st));
    for (unsigned i = 0; i < inputs; ++i) {
      builder->setType(&st, i, SQL_INT64 + 1);
      builder->setLength(&st, i, sizeof(int64_t));
      builder->setScale(&st, i, 0);
    }
    inMeta_.reset(builder->getMetadata(&st));

    // Text in a character set other than the code page's comes as UTF-8,
    // which holds every character; the reading side puts it into the code page.
    const fb::Ref<Firebird::IMessageMetadata> stated(statement_->getOutputMetadata(&st));
    const unsigned count = stated->getCount(&st);
    const fb::Ref<Firebird::IMetadataBuilder> out(stated->getBuilder(&st));
    std::vector<bool> converted(count, false);
    for (unsigned i = 0; i < count; ++i) {
      const unsigned type = stated->getType(&st, i) & ~1u;
      const unsigned charset = stated->getCharSet(&st, i);
      if ((type != SQL_TEXT && type != SQL_VARYING) || PassesThrough(charset)) continue;
      const unsigned characters = stated->getLength(&st, i) / BytesPerCharacter(charset);
      // A CHAR keeps its blanks as characters, not as bytes of the wider set.
      out->setType(&st, i, SQL_VARYING + 1);
      out->setCharSet(&st, i, kCharsetUtf8);
      out->setLength(&st, i, std::min(characters * 4, 32765u));
      converted[i] = true;
    }
    outMeta_.reset(out->getMetadata(&st));
    for (unsigned i = 0; i < count; ++i) {
      Column c;
      const char* alias = outMeta_->getAlias(&st, i);
      c.name = UpperAscii(alias && *alias ? alias : outMeta_->getField(&st, i));
      c.type = outMeta_->getType(&st, i) & ~1u;
      c.subType = static_cast<unsigned>(outMeta_->getSubType(&st, i));
      c.length = outMeta_->getLength(&st, i);
      c.scale = outMeta_->getScale(&st, i);
      c.offset = outMeta_->getOffset(&st, i);
      c.nullOffset = outMeta_->getNullOffset(&st, i);
      c.utf8 = converted[i];
      columns_.push_back(c);
    }
    row_.assign(outMeta_->getMessageLength(&st), 0);
  });
  dirty_ = false;
}

void TQuery::ExecQuery() {
  Close();
  if (!transaction_ || !transaction_->Active()) throw EMvError("Transaction is not active.");
  if (dirty_ || !statement_) Prepare();
  for (const std::string& name : paramNames_)
    if (!paramValues_.count(name)) throw EMvError("Parameter " + name + " has no value.");
  const TDatabase::TCall call(transaction_->Database());
  fb::Call([&] {
    fb::Status st;
    std::vector<unsigned char> input(inMeta_->getMessageLength(&st), 0);
    for (unsigned i = 0; i < paramNames_.size(); ++i) {
      const int64_t value = paramValues_.at(paramNames_[i]);
      std::memcpy(input.data() + inMeta_->getOffset(&st, i), &value, sizeof value);
      const int16_t notNull = 0;
      std::memcpy(input.data() + inMeta_->getNullOffset(&st, i), &notNull, sizeof notNull);
    }
    cursor_.reset(statement_->openCursor(&st, transaction_->Handle(), inMeta_.get(), input.data(), outMeta_.get(), 0));
  });
  try {
    Fetch();
  } catch (...) {
    Close();
    throw;
  }
}

void TQuery::Fetch() {
  const TDatabase::TCall call(transaction_->Database());
  fb::Call([&] {
    fb::Status st;
    eof_ = cursor_->fetchNext(&st, row_.data()) != Firebird::IStatus::RESULT_OK;
  });
}

void TQuery::Next() {
  if (!cursor_ || eof_) return;
  Fetch();
}

void TQuery::Close() {
  if (cursor_ && transaction_) {
    const TDatabase::TCall call(transaction_->Database());
    fb::Finish(cursor_, [](Firebird::IResultSet* r, ThrowStatusWrapper* st) { r->close(st); });
  }
  (void)cursor_.release();  // a transaction gone took the cursor with it
  eof_ = true;
}

const TQuery::Column& TQuery::ColumnAt(unsigned index) const {
  if (index >= columns_.size()) throw EMvError("Field index " + std::to_string(index) + " out of range.");
  return columns_[index];
}

TField TQuery::Field(int index) const {
  ColumnAt(static_cast<unsigned>(index));
  return TField(this, static_cast<unsigned>(index));
}

int TQuery::FieldIndex(const std::string& name) const {
  const std::string wanted = UpperAscii(name);
  for (unsigned i = 0; i < columns_.size(); ++i)
    if (columns_[i].name == wanted) return static_cast<int>(i);
  throw EMvError("Field '" + name + "' not found.");
}

TField TQuery::FieldByName(const std::string& name) const { return TField(this, static_cast<unsigned>(FieldIndex(name))); }

}  // namespace iex::db
