#include "db/ExportQueries.h"

#include <cmath>
#include <cstdio>

#include "util/DateValue.h"

namespace iex::db {
namespace {

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

}  // namespace

const char* const kProfileColumns =
    "P.PROFILENO, P.PROFILETYPE_LINKCODE, P.NAME, P.INTERFACEID, P.RATE1, "
    "T.TRAVELCATEGORY_LINKNO, A.ADDRESS1, A.ADDRESS2, A.CITY, A.STATE, A.ZIP, A.COUNTRY, "
    "C_EMAIL.COMMVALUE EMAIL, C_BUSPHONE.COMMVALUE BUSPHONE, C_FAX.COMMVALUE FAX, C_PHONE.COMMVALUE PHONE";
const std::string kProfileSelect = std::string("SELECT DISTINCT ") + kProfileColumns;

const char* const kProfileJoins =
    "LEFT JOIN PROFILETRVLCAT T ON T.PROFILE_LINKNO = P.PROFILENO "
    "LEFT JOIN ADDRINSTANCE AI ON AI.PROFILE_LINKNO = P.PROFILENO AND ADDRTYPE_LINKNO = 1 "
    "LEFT JOIN ADDRESS A ON A.ADDRESSNO = AI.ADDRESS_LINKNO "
    "LEFT OUTER JOIN ProfilePassengerComm(P.PROFILENO,2) C_PHONE ON 1=1 "
    "LEFT OUTER JOIN ProfilePassengerComm(P.PROFILENO,3) C_EMAIL ON 1=1 "
    "LEFT OUTER JOIN ProfilePassengerComm(P.PROFILENO,1) C_FAX ON 1=1 "
    "LEFT OUTER JOIN ProfilePassengerComm(P.PROFILENO,2) C_BUSPHONE ON 1=1 AND C_BUSPHONE.DESCRIPTION LIKE 'B%'";

const char* const kProfileOrder = "ORDER BY 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16";

std::string RangeCondition(const std::string& column, const std::string& low, const std::string& high) {
  if (!low.empty() && !high.empty()) return column + " BETWEEN " + Quoted(low) + " AND " + Quoted(high);
  if (!low.empty()) return column + " >= " + Quoted(low);
  return column + " <= " + Quoted(high);
}

std::string DayRangeCondition(const std::string& column, double firstDay, double lastDay) {
  // Up to the day after the last: a time stamp issued during the last day counts.
  const std::string from = firstDay != 0 ? column + " >= " + Quoted(FilterDateText(firstDay)) : std::string();
  const std::string to = lastDay != 0 ? column + " < " + Quoted(FilterDateText(std::floor(lastDay) + 1)) : std::string();
  return from.empty() ? to : to.empty() ? from : from + " AND " + to;
}

std::string FilterDateText(double dateValue) {
  if (dateValue == 0) return std::string();
  const CivilDate d = DecodeDate(dateValue);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.month, d.day, d.year);
  return buf;
}

std::string FilterNumberText(double number) {
  if (number == 0) return std::string();
  char buf[40];
  if (std::fabs(number) < 1e15 && number == std::trunc(number)) {
    std::snprintf(buf, sizeof buf, "%.0f", number);
    return buf;
  }
  std::snprintf(buf, sizeof buf, "%.15G", number);
  std::string text(buf);
  const auto e = text.find('E');
  if (e != std::string::npos) {
    std::string exponent = text.substr(e + 1);
    const bool negative = exponent[0] == '-';
    exponent.erase(0, exponent.find_first_not_of("+-0"));
    text = text.substr(0, e) + "E" + (negative ? "-" : "") + (exponent.empty() ? "0" : exponent);
  }
  return text;
}

void AddFilters(SqlLines& lQuery, const TInvoiceFilter& f) {
  bool where = false;
  auto clause = [&] {
    lQuery.push_back(where ? "AND" : "WHERE");
    where = true;
  };
  if (f.BranchNo != -1) {
    clause();
    lQuery.push_back("I.BRANCH_LINKNO = " + std::to_string(f.BranchNo));
  }
  if (f.StartInvNo != 0 || f.EndInvNo != 0) {
    clause();
    lQuery.push_back(RangeCondition("I.INVOICENUMBER", FilterNumberText(f.StartInvNo), FilterNumberText(f.EndInvNo)));
  }
  if (f.StartInvDate != 0 || f.EndInvDate != 0) {
    clause();
    lQuery.push_back(DayRangeCondition("I.ISSUEDATE", f.StartInvDate, f.EndInvDate));
  }
}

}  // namespace iex::db
