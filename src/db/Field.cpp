#include <ibase.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <limits>

#include "db/Database.h"
#include "db/DbError.h"
#include "db/FbApi.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/AnsiText.h"
#include "util/DateValue.h"

namespace iex::db {
namespace {

// ISC_DATE counts days from 17 November 1858.
constexpr int kIscDateToDateValue = 15018;
constexpr double kTimeUnitsPerDay = 86400.0 * ISC_TIME_SECONDS_PRECISION;

template <typename T>
T Read(const unsigned char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

int64_t Pow10(int n) {
  int64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

std::string ScaledText(int64_t v, int scale) {
  if (scale >= 0) return std::to_string(v) + std::string(static_cast<std::size_t>(scale), '0');
  const bool negative = v < 0;
  const uint64_t mag = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  const auto places = static_cast<std::size_t>(-scale);
  std::string digits = std::to_string(mag);
  if (digits.size() <= places) digits = std::string(places - digits.size() + 1, '0') + digits;
  std::string text;
  if (negative) text += '-';
  text.append(digits, 0, digits.size() - places);
  text += '.';
  text.append(digits, digits.size() - places, places);
  return text;
}

std::string DateText(double value, bool withDate, bool withTime) {
  const CivilDate d = DecodeDate(value);
  const TimeOfDay t = DecodeTime(value);
  char buf[64];
  if (withDate && withTime)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, t.hour, t.minute, t.second);
  else if (withDate)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
  else
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return buf;
}

std::string GeneralFloat(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

// Hundredths of a decimal text such as "-2.675" or "1.5e-07", half away from zero.
bool DecimalHundredths(const char* first, const char* last, int64_t& out) {
  bool negative = false;
  if (first < last && *first == '-') {
    negative = true;
    ++first;
  }
  std::string digits;
  int exponent = 0;  // of the last digit
  bool point = false;
  for (; first < last && *first != 'e'; ++first) {
    if (*first == '.') {
      point = true;
      continue;
    }
    digits += *first;
    if (point) --exponent;
  }
  if (first < last) exponent += std::atoi(first + 1);
  // value = digits * 10^exponent; hundredths = digits * 10^(exponent + 2)
  const int shift = exponent + 2;
  int64_t whole = 0;
  const std::size_t keep = shift >= 0 ? digits.size() : (digits.size() > std::size_t(-shift) ? digits.size() - std::size_t(-shift) : 0);
  for (std::size_t i = 0; i < keep; ++i) {
    if (whole > (INT64_MAX - 9) / 10) return false;
    whole = whole * 10 + (digits[i] - '0');
  }
  for (int i = 0; i < shift; ++i) {
    if (whole > INT64_MAX / 10) return false;
    whole *= 10;
  }
  // The first dropped digit decides: half away from zero.
  if (shift < 0 && keep < digits.size() && digits[keep] >= '5') ++whole;
  out = negative ? -whole : whole;
  return true;
}

template <typename Floating>
bool ShortestDecimalHundredths(Floating v, int64_t& out) {
  if (!std::isfinite(v)) return false;
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return r.ec == std::errc() && DecimalHundredths(buf, r.ptr, out);
}

}  // namespace

const std::string& TField::Name() const { return query_->ColumnAt(index_).name; }

bool TField::IsNull() const {
  const auto& c = query_->ColumnAt(index_);
  if (query_->Eof()) return true;
  return Read<int16_t>(query_->row_.data() + c.nullOffset) != 0;
}

std::string TField::AsBytes() const {
  const auto& c = query_->ColumnAt(index_);
  if (IsNull()) return std::string();
  const unsigned char* p = query_->Data(c);
  switch (c.type) {
    case SQL_TEXT:
      return std::string(reinterpret_cast<const char*>(p), c.length);
    case SQL_VARYING:
      return std::string(reinterpret_cast<const char*>(p + 2), Read<uint16_t>(p));
    case SQL_BLOB: {
      ISC_QUAD id = Read<ISC_QUAD>(p);
      std::string bytes;
      TTransaction& tr = *query_->transaction_;
      const TDatabase::TCall call(tr.Database());
      fb::Call([&] {
        fb::Status st;
        fb::Ref<Firebird::IBlob> blob(tr.Database().Handle()->openBlob(&st, tr.Handle(), &id, 0, nullptr));
        char chunk[16384];
        for (;;) {
          unsigned got = 0;
          const int rc = blob->getSegment(&st, sizeof chunk, chunk, &got);
          if (rc == Firebird::IStatus::RESULT_NO_DATA) break;
          bytes.append(chunk, got);
        }
        blob->close(&st);
        (void)blob.release();  // closed: it has let go of itself
      });
      return bytes;
    }
    default:
      return AsString();
  }
}

std::string TField::AsText(long* lost) const {
  const auto& c = query_->ColumnAt(index_);
  if (IsNull()) return std::string();
  const unsigned char* p = query_->Data(c);
  switch (c.type) {
    case SQL_TEXT:
    case SQL_VARYING:
      return c.utf8 ? Utf8ToAnsi(AsBytes(), lost) : AsBytes();
    case SQL_BLOB:
      return AsBytes();
    case SQL_SHORT:
      return ScaledText(Read<int16_t>(p), c.scale);
    case SQL_LONG:
      return ScaledText(Read<int32_t>(p), c.scale);
    case SQL_INT64:
      return ScaledText(Read<int64_t>(p), c.scale);
    case SQL_FLOAT:
      return GeneralFloat(Read<float>(p));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return GeneralFloat(Read<double>(p));
    case SQL_TYPE_DATE:
      return DateText(AsDateTime(), true, false);
    case SQL_TYPE_TIME:
      return DateText(AsDateTime(), false, true);
    case SQL_TIMESTAMP:
      return DateText(AsDateTime(), true, true);
    case SQL_BOOLEAN:
      return *p ? "True" : "False";
    default:
      throw EConvertError("Field " + c.name + " cannot be read as text.");
  }
}

// The whole number of the value; false (and `why` filled) when it has none
// that fits 32 bits. No exception on the way: columns of texts that are
// mostly not numbers (a ticket number, a flag) are asked on every row.
bool TField::ToInteger(int32_t& out, std::string* why) const {
  const auto& c = query_->ColumnAt(index_);
  out = 0;
  if (IsNull()) return true;
  const unsigned char* p = query_->Data(c);
  auto fail = [&](const std::string& text) {
    if (why) *why = "'" + text + "' is not a valid integer value";
    return false;
  };
  auto fit = [&](double v) {
    if (!(v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max())) return fail(AsString());
    out = static_cast<int32_t>(v);
    return true;
  };
  auto scaled = [&](int64_t v) {
    if (c.scale < 0) v /= Pow10(-c.scale);  // the whole part, as the number is read
    else if (c.scale > 0) return fit(static_cast<double>(v) * static_cast<double>(Pow10(c.scale)));
    return fit(static_cast<double>(v));
  };
  switch (c.type) {
    case SQL_SHORT:
      return scaled(Read<int16_t>(p));
    case SQL_LONG:
      if (c.scale == 0) {
        out = Read<int32_t>(p);
        return true;
      }
      return scaled(Read<int32_t>(p));
    case SQL_INT64:
      return scaled(Read<int64_t>(p));
    case SQL_FLOAT:
      return fit(std::trunc(Read<float>(p)));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return fit(std::trunc(Read<double>(p)));
    case SQL_BOOLEAN:
      out = *p ? 1 : 0;
      return true;
    case SQL_TEXT:
    case SQL_VARYING: {
      const std::string text = AsString();
      std::size_t b = 0, e = text.size();
      while (b < e && text[b] == ' ') ++b;
      while (e > b && text[e - 1] == ' ') --e;
      std::size_t i = b;
      if (i < e && (text[i] == '-' || text[i] == '+')) ++i;
      if (i == e) return fail(text);
      for (std::size_t k = i; k < e; ++k)
        if (text[k] < '0' || text[k] > '9') return fail(text);
      if (!fit(std::stod(text.substr(b, e - b)))) return fail(text);
      return true;
    }
    default:
      if (why) *why = "Field " + c.name + " cannot be read as an integer.";
      return false;
  }
}

int32_t TField::AsInteger() const {
  int32_t value = 0;
  std::string why;
  if (!ToInteger(value, &why)) throw EConvertError(why);
  return value;
}

double TField::AsFloat() const {
  const auto& c = query_->ColumnAt(index_);
  if (IsNull()) return 0;
  const unsigned char* p = query_->Data(c);
  switch (c.type) {
    case SQL_SHORT:
      return static_cast<double>(Read<int16_t>(p)) * std::pow(10.0, c.scale);
    case SQL_LONG:
      return static_cast<double>(Read<int32_t>(p)) * std::pow(10.0, c.scale);
    case SQL_INT64:
      return static_cast<double>(Read<int64_t>(p)) * std::pow(10.0, c.scale);
    case SQL_FLOAT:
      return Read<float>(p);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return Read<double>(p);
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TIMESTAMP:
      return AsDateTime();
    case SQL_TEXT:
    case SQL_VARYING: {
      const std::string text = AsString();
      char* end = nullptr;
      const double v = std::strtod(text.c_str(), &end);
      while (end && *end == ' ') ++end;
      if (text.empty() || !end || *end) throw EConvertError("'" + text + "' is not a valid floating point value");
      return v;
    }
    default:
      throw EConvertError("Field " + c.name + " cannot be read as a number.");
  }
}

int64_t TField::AsHundredths() const {
  const auto& c = query_->ColumnAt(index_);
  if (IsNull()) return 0;
  const unsigned char* p = query_->Data(c);
  // value * 10^(2 + scale), exactly, half away from zero.
  auto scaled = [&](int64_t v) -> int64_t {
    const int shift = 2 + c.scale;
    if (shift >= 0) {
      const int64_t factor = Pow10(shift);
      if (v > INT64_MAX / factor || v < INT64_MIN / factor) throw EConvertError("'" + AsString() + "' is out of range");
      return v * factor;
    }
    if (shift < -18) return 0;
    const int64_t divisor = Pow10(-shift);
    const int64_t whole = v / divisor, rest = v % divisor;
    if (2 * (rest < 0 ? -rest : rest) >= divisor) return whole + (v < 0 ? -1 : 1);
    return whole;
  };
  // A floating value stands for the shortest decimal that reads back as it
  // (what the clerk typed, what every database tool shows); that decimal
  // is rounded, so 1.005 gives 1.01 although its binary value lies below.
  auto floating = [&](auto v) -> int64_t {
    int64_t h = 0;
    if (!ShortestDecimalHundredths(v, h)) throw EConvertError("'" + AsString() + "' is out of range");
    return h;
  };
  switch (c.type) {
    case SQL_SHORT:
      return c.scale == 0 ? Read<int16_t>(p) : scaled(Read<int16_t>(p));
    case SQL_LONG:
      return c.scale == 0 ? Read<int32_t>(p) : scaled(Read<int32_t>(p));
    case SQL_INT64:
      return c.scale == 0 ? Read<int64_t>(p) : scaled(Read<int64_t>(p));
    case SQL_FLOAT:
      return floating(Read<float>(p));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return floating(Read<double>(p));
    default:
      return AsInteger();  // a whole number held as text keeps hundredths, as an integer column does
  }
}

double TField::AsDateTime() const {
  const auto& c = query_->ColumnAt(index_);
  if (IsNull()) return 0;
  const unsigned char* p = query_->Data(c);
  switch (c.type) {
    case SQL_TYPE_DATE:
      return Read<ISC_DATE>(p) - kIscDateToDateValue;
    case SQL_TYPE_TIME:
      return Read<ISC_TIME>(p) / kTimeUnitsPerDay;
    case SQL_TIMESTAMP: {
      const auto ts = Read<ISC_TIMESTAMP>(p);
      return (ts.timestamp_date - kIscDateToDateValue) + ts.timestamp_time / kTimeUnitsPerDay;
    }
    default:
      throw EConvertError("Field " + c.name + " cannot be read as a date.");
  }
}

}  // namespace iex::db
