#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "db/Query.h"
#include "export/ExportRows.h"

namespace iex::db {

// A column's text in the code page; the column is listed as lossy when
// characters had to be replaced.
std::string ReadText(const TQuery& q, int col, const char* name, TLossyColumns& lossy);
// An amount as the file's 32-bit hundredths; a value outside them ends the
// run, naming the column and `where` ("invoice 1234").
int32_t ReadAmount(const TQuery& q, int col, const char* name, const std::string& where);
// A whole number, or none when the value is not one.
std::optional<int32_t> ReadWholeOrNone(const TQuery& q, int col);
// The second whole number less the first; none unless both are whole numbers.
std::optional<int64_t> ReadDifference(const TQuery& q, int first, int second);
// A key or link: none for NULL, which matches no row.
std::optional<int32_t> ReadKey(const TQuery& q, int col);

}  // namespace iex::db
