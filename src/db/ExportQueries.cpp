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

const char* const kInvoiceSelect =
    "SELECT I.INVOICENO, I.BRANCH_LINKNO, I.INVOICENUMBER, I.ISSUEDATE, I.INVOICETYPE_LINKCODE, I.CLIENT_LINKNO, "
    "I.FIRSTINSIDEAGENTBKG_LINKNO, I.FIRSTOUTSIDEAGENTBKG_LINKNO, I.RECORDLOCATOR, I.INVOICEGROUP, "
    "I.PAYSTATUS_LINKCODE, I.REMARKS, P.PROFILETYPE_LINKCODE,P.INTERFACEID CLIENTINTERFACEID,B.BOOKINGNO ,"
    "B.SUBMITTO_LINKCODE, B.PASSENGERNAME, B.CALCBASEFARE, B.COMMRATE, B.COMMAMT, B.VENDOR_LINKNO, "
    "B.STARTINGTICKETNO, B.CONFIRMNO, B.DEPARTDATE, B.RETURNDATE, B.ETICKETIND, B.ENDINGTICKETNO, "
    "B.INTER_LINKCODE, B.HIGHFARE, B.LOWFARE, B.TAX1AMT, B.TAX2AMT, B.TAX3AMT, B.TAX4AMT, B.TRAVELTYPE_LINKNO, "
    "T.TRAVELCATEGORY_LINKNO, T.TRAVELTYPE, PY.PAYMETHOD_LINKNO, PY.CKCCNO, V.AIRLINENO, V.NAME, "
    "V.INTERFACEID VENDORINTERFACEID,S.SEGMENTNO, S.INDEXNO, S.AIRLINE, S.FLIGHTNO, S.CONNECTION, "
    "S.DEPARTCITY, S.ARRIVECITY, S.DEPARTDATETIME, S.ARRIVEDATETIME, S.FAREBASIS, S.FARE, S.CLASSOFSVC, "
    "R.SOURCEOFBOOKING, R.FINALPYMNTDUEDATE, R.RESDATE, RC.CREATEAGENT_LINKNO, RC.RESCARDNO, "
    "IA.INTERFACEID IAINTERFACEID, OA.INTERFACEID OIAINTERFACEID ";

const char* const kInvoiceJoins =
    "LEFT JOIN PAYDTL PD ON PD.BOOKING_LINKNO = B.BOOKINGNO LEFT JOIN PAYMENT PY ON PY.PAYMENTNO = "
    "PD.PAYMENT_LINKNO LEFT JOIN SEGMENTS S ON S.BOOKING_LINKNO = B.BOOKINGNO LEFT JOIN AGENTBKG IAB ON "
    "I.FIRSTINSIDEAGENTBKG_LINKNO = IAB.AGENTBKGNO LEFT JOIN PROFILE IA ON IAB.AGENT_LINKNO = IA.PROFILENO LEFT "
    "JOIN AGENTBKG OAB ON I.FIRSTOUTSIDEAGENTBKG_LINKNO = OAB.AGENTBKGNO LEFT JOIN PROFILE OA ON "
    "OAB.AGENT_LINKNO = OA.PROFILENO";

}  // namespace

const char* const kProfileSelect =
    "SELECT DISTINCT P.PROFILENO, P.PROFILETYPE_LINKCODE, P.NAME, P.INTERFACEID, P.RATE1, "
    "T.TRAVELCATEGORY_LINKNO, A.ADDRESS1, A.ADDRESS2, A.CITY, A.STATE, A.ZIP, A.COUNTRY, "
    "C_EMAIL.COMMVALUE EMAIL, C_BUSPHONE.COMMVALUE BUSPHONE, C_FAX.COMMVALUE FAX, C_PHONE.COMMVALUE PHONE";

const char* const kProfileJoins =
    "LEFT JOIN PROFILETRVLCAT T ON T.PROFILE_LINKNO = P.PROFILENO "
    "LEFT JOIN ADDRINSTANCE AI ON AI.PROFILE_LINKNO = P.PROFILENO AND ADDRTYPE_LINKNO = 1 "
    "LEFT JOIN ADDRESS A ON A.ADDRESSNO = AI.ADDRESS_LINKNO "
    "LEFT OUTER JOIN ProfilePassengerComm(P.PROFILENO,2) C_PHONE ON 1=1 "
    "LEFT OUTER JOIN ProfilePassengerComm(P.PROFILENO,3) C_EMAIL ON 1=1 "
    "LEFT OUTER JOIN ProfilePassengerComm(P.PROFILENO,1) C_FAX ON 1=1 "
    "LEFT OUTER JOIN ProfilePassengerComm(P.PROFILENO,2) C_BUSPHONE ON 1=1 AND C_BUSPHONE.DESCRIPTION LIKE 'B%'";

const char* const kInvoiceFrom =
    "FROM INVOICE I JOIN PROFILE P ON P.PROFILENO = I.CLIENT_LINKNO JOIN BOOKING B ON B.INVOICE_LINKNO = "
    "I.INVOICENO JOIN TRAVELTYPE T ON B.TRAVELTYPE_LINKNO = T.TRAVELTYPENO JOIN PROFILE V ON V.PROFILENO = "
    "B.VENDOR_LINKNO JOIN RESCARDRESERVATION R ON B.RESERVATION_LINKNO = R.RESERVATIONNO JOIN RESCARD RC ON "
    "R.RESCARD_LINKNO = RC.RESCARDNO ";

const char* const kDestinationJoin =
    "LEFT JOIN RESCARDDESTINATION RD ON RD.RESCARDDESTINATIONNO =(SELECT MIN(RESCARDDESTINATIONNO+0) FROM "
    "RESCARDDESTINATION WHERE RESCARD_LINKNO=RC.RESCARDNO)";

const char* const kAgentJoins =
    "LEFT JOIN AGENTBKG IAB ON I.FIRSTINSIDEAGENTBKG_LINKNO = IAB.AGENTBKGNO LEFT JOIN PROFILE IA ON IAB.AGENT_LINKNO = "
    "IA.PROFILENO LEFT JOIN AGENTBKG OAB ON I.FIRSTOUTSIDEAGENTBKG_LINKNO = OAB.AGENTBKGNO LEFT JOIN PROFILE OA ON "
    "OAB.AGENT_LINKNO = OA.PROFILENO";
const char* const kInvoiceOrder = "ORDER BY I.INVOICENO, B.BOOKINGNO, PD.PAYMENT_LINKNO, S.INDEXNO, S.SEGMENTNO";
const char* const kProfileOrder = "ORDER BY 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16";

std::string RangeCondition(const std::string& column, const std::string& low, const std::string& high) {
  if (!low.empty() && !high.empty()) return column + " BETWEEN " + Quoted(low) + " AND " + Quoted(high);
  if (!low.empty()) return column + " >= " + Quoted(low);
  return column + " <= " + Quoted(high);
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
    lQuery.push_back(RangeCondition("I.ISSUEDATE", FilterDateText(f.StartInvDate), FilterDateText(f.EndInvDate)));
  }
}

SqlLines ProfileQueryLines(const TInvoiceFilter& filter) {
  SqlLines lines{kProfileSelect, std::string("FROM INVOICE I LEFT JOIN PROFILE P ON I.CLIENT_LINKNO = P.PROFILENO ") + kProfileJoins};
  AddFilters(lines, filter);
  lines.push_back("UNION ");
  lines.push_back(kProfileSelect);
  lines.push_back(std::string("FROM INVOICE I LEFT JOIN BOOKING B ON B.INVOICE_LINKNO = I.INVOICENO LEFT JOIN PROFILE P ON "
                              "B.VENDOR_LINKNO = P.PROFILENO ") +
                  kProfileJoins);
  AddFilters(lines, filter);
  // Every column, so the first row of a profile (the one its account line
  // shows) is the same on every run, whatever plan the engine picks.
  lines.push_back(kProfileOrder);
  return lines;
}

SqlLines InvoiceQueryLines(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt) {
  SqlLines lines{kInvoiceSelect, newDestTable ? ",RD.DESTINATION" : ",RC.DESTINATIONBYREGION"};
  if (isCCEncrypt) lines.push_back(",PY.CKCCNOENCRYPT");
  lines.push_back(kInvoiceFrom);
  if (newDestTable) lines.push_back(kDestinationJoin);
  lines.push_back(kInvoiceJoins);
  AddFilters(lines, filter);
  // A total order: the writer groups adjacent rows by booking, the booking
  // line shows the payment detail with the lowest payment number, and
  // segment lines follow the itinerary. Ties left to the engine would make
  // the same database give different files.
  lines.push_back(kInvoiceOrder);
  return lines;
}

// Rows that tie on both columns write identical lines, so the order is total.
SqlLines UdidQueryLines() {
  return {"SELECT UDIDNO,UDID FROM UDIDS WHERE BOOKING_LINKNO = :BOOKING_LINKNO", "ORDER BY UDIDNO, UDID"};
}

}  // namespace iex::db
