#include "StatedQueries.h"

namespace iex::db {
namespace {

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

const char* const kInvoiceFrom =
    "FROM INVOICE I JOIN PROFILE P ON P.PROFILENO = I.CLIENT_LINKNO JOIN BOOKING B ON B.INVOICE_LINKNO = "
    "I.INVOICENO JOIN TRAVELTYPE T ON B.TRAVELTYPE_LINKNO = T.TRAVELTYPENO JOIN PROFILE V ON V.PROFILENO = "
    "B.VENDOR_LINKNO JOIN RESCARDRESERVATION R ON B.RESERVATION_LINKNO = R.RESERVATIONNO JOIN RESCARD RC ON "
    "R.RESCARD_LINKNO = RC.RESCARDNO ";

const char* const kDestinationJoin =
    "LEFT JOIN RESCARDDESTINATION RD ON RD.RESCARDDESTINATIONNO =(SELECT MIN(RESCARDDESTINATIONNO+0) FROM "
    "RESCARDDESTINATION WHERE RESCARD_LINKNO=RC.RESCARDNO)";

const char* const kInvoiceJoins =
    "LEFT JOIN PAYDTL PD ON PD.BOOKING_LINKNO = B.BOOKINGNO LEFT JOIN PAYMENT PY ON PY.PAYMENTNO = "
    "PD.PAYMENT_LINKNO LEFT JOIN SEGMENTS S ON S.BOOKING_LINKNO = B.BOOKINGNO LEFT JOIN AGENTBKG IAB ON "
    "I.FIRSTINSIDEAGENTBKG_LINKNO = IAB.AGENTBKGNO LEFT JOIN PROFILE IA ON IAB.AGENT_LINKNO = IA.PROFILENO LEFT "
    "JOIN AGENTBKG OAB ON I.FIRSTOUTSIDEAGENTBKG_LINKNO = OAB.AGENTBKGNO LEFT JOIN PROFILE OA ON "
    "OAB.AGENT_LINKNO = OA.PROFILENO";

}  // namespace

// The stated order, with the two mends the program's own paths make: a
// travel type whose number two rows share gives its first row, and a
// payment detail without a payment comes last.
const char* const kInvoiceOrder =
    "ORDER BY I.INVOICENO, B.BOOKINGNO, T.TRAVELCATEGORY_LINKNO, T.TRAVELTYPE, PD.PAYMENT_LINKNO NULLS LAST, S.INDEXNO, "
    "S.SEGMENTNO";

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
