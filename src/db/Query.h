#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "db/FbRef.h"

namespace Firebird {
class IStatement;
class IResultSet;
class IMessageMetadata;
}  // namespace Firebird

namespace iex::db {

class TTransaction;
class TQuery;

// One column of the current row. NULL reads as "", 0 or date 0.
class TField {
 public:
  TField(const TQuery* query, unsigned index) : query_(query), index_(index) {}
  bool IsNull() const;
  // Text in the ANSI code page whatever the column's character set;
  // characters the code page cannot hold become "?", counted in `lost`.
  std::string AsText(long* lost) const;
  std::string AsString() const { return AsText(nullptr); }
  int32_t AsInteger() const;   // raises EConvertError when the value is no 32-bit whole number
  bool ToInteger(int32_t& value, std::string* why = nullptr) const;  // false where AsInteger raises
  double AsFloat() const;
  // An amount as whole hundredths: whole-number columns as they are (they
  // keep hundredths), scaled and floating ones converted exactly, rounding
  // half away from zero. EConvertError when it is no number.
  int64_t AsHundredths() const;
  double AsDateTime() const;   // days since 30 December 1899
  std::string AsBytes() const; // a BLOB's or a text's bytes
  const std::string& Name() const;

 private:
  const TQuery* query_;
  unsigned index_;
};

// A statement whose SQL text is a list of lines joined by line breaks. It
// runs in its transaction, positions on the first row and steps forward.
class TQuery {
 public:
  TQuery(TTransaction& transaction);
  ~TQuery();
  TQuery(const TQuery&) = delete;
  TQuery& operator=(const TQuery&) = delete;

  void ClearSQL();
  void AddLine(const std::string& line);
  void SetSQL(const std::vector<std::string>& lines);
  const std::vector<std::string>& SQLLines() const { return lines_; }
  std::string SQLText() const;

  void SetParamInteger(const std::string& name, int64_t value);

  void ExecQuery();  // prepares when the text changed, then opens the cursor
  bool Eof() const { return eof_; }
  void Next();
  void Close();  // also after errors; never raises
  bool Active() const { return cursor_ != nullptr; }

  int FieldCount() const { return static_cast<int>(columns_.size()); }
  TField Field(int index) const;
  TField FieldByName(const std::string& name) const;
  int FieldIndex(const std::string& name) const;  // raises when the result has no such column

  TTransaction& Transaction() const { return *transaction_; }

 private:
  friend class TField;
  friend class TTransaction;
  struct Column {
    std::string name;
    unsigned type, subType, length, offset, nullOffset;
    int scale;
    bool utf8;  // converted to UTF-8 by the engine: put into the code page on reading
  };

  void Prepare();
  void Unprepare();
  void Fetch();
  const Column& ColumnAt(unsigned index) const;
  const unsigned char* Data(const Column& c) const { return row_.data() + c.offset; }

  TTransaction* transaction_;
  std::vector<std::string> lines_;
  bool dirty_ = true;
  std::vector<std::string> paramNames_;
  std::map<std::string, int64_t> paramValues_;

  fb::Ref<Firebird::IStatement> statement_;
  fb::Ref<Firebird::IMessageMetadata> inMeta_;
  fb::Ref<Firebird::IMessageMetadata> outMeta_;
  fb::Ref<Firebird::IResultSet> cursor_;
  std::vector<Column> columns_;
  std::vector<unsigned char> row_;
  bool eof_ = true;
};

}  // namespace iex::db
