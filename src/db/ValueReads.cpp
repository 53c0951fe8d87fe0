#include "db/ValueReads.h"

#include "db/DbError.h"

namespace iex::db {

std::string ReadText(const TQuery& q, int col, const char* name, TLossyColumns& lossy) {
  long lost = 0;
  std::string text = q.Field(col).AsText(&lost);
  if (lost != 0) lossy.push_back(name);
  return text;
}

int32_t ReadAmount(const TQuery& q, int col, const char* name, const std::string& where) {
  const TField f = q.Field(col);
  int64_t hundredths = 0;
  try {
    hundredths = f.AsHundredths();
  } catch (const EConvertError& e) {
    throw EMvError("The amount in " + std::string(name) + " of " + where + " cannot be read: " + e.what());
  }
  if (hundredths < INT32_MIN || hundredths > INT32_MAX)
    throw EMvError("The amount " + f.AsString() + " in " + name + " of " + where +
                   " is outside the range the import file can hold (-21474836.48 to 21474836.47).\nNo file was changed.");
  return static_cast<int32_t>(hundredths);
}

std::optional<int32_t> ReadWholeOrNone(const TQuery& q, int col) {
  int32_t value = 0;
  if (!q.Field(col).ToInteger(value)) return std::nullopt;
  return value;
}

std::optional<int64_t> ReadDifference(const TQuery& q, int first, int second) {
  int32_t a = 0, b = 0;
  if (!q.Field(first).ToInteger(a) || !q.Field(second).ToInteger(b)) return std::nullopt;
  return int64_t{b} - int64_t{a};
}

std::optional<int32_t> ReadKey(const TQuery& q, int col) {
  const TField f = q.Field(col);
  if (f.IsNull()) return std::nullopt;
  return f.AsInteger();
}

}  // namespace iex::db
