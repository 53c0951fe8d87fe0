#include "util/DateValue.h"

#include <cmath>

namespace iex {
namespace {

constexpr int64_t kUnixEpoch = 25569;  // 1 January 1970

}  // namespace

CivilDate DecodeDate(double value) {
  const auto days = static_cast<int64_t>(std::floor(value));
  const int64_t z = days - kUnixEpoch + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
  return {y, m, d};
}

TimeOfDay DecodeTime(double value) {
  const double fraction = value - std::floor(value);
  auto ms = static_cast<int64_t>(std::llround(fraction * 86400000.0));
  if (ms >= 86400000) ms = 86399999;
  return {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
          static_cast<int>(ms % 1000)};
}

double EncodeDate(int year, int month, int day) {
  const int64_t y = year - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<double>(era * 146097 + doe - 719468 + kUnixEpoch);
}

}  // namespace iex
