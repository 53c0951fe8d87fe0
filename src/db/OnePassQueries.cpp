#include "db/OnePassQueries.h"

namespace iex::db {
namespace {

// The bookings of the chosen invoices; the invoice table only when a filter
// needs it. A booking not yet invoiced (no invoice link) has no place in
// the file and must not take one among the merged rows.
SqlLines BookingsOf(const TInvoiceFilter& filter, const std::string& select, const std::string& joins,
                    const std::string& order) {
  SqlLines lines{select};
  if (filter.Empty()) {
    lines.push_back("FROM BOOKING B " + joins);
    lines.push_back("WHERE B.INVOICE_LINKNO IS NOT NULL");
  } else {
    lines.push_back("FROM INVOICE I JOIN BOOKING B ON B.INVOICE_LINKNO = I.INVOICENO " + joins);
    AddFilters(lines, filter);
  }
  lines.push_back(order);
  return lines;
}

}  // namespace

SqlLines OnePassProfileLines(const TInvoiceFilter& filter) {
  SqlLines lines{kProfileSelect, "FROM (SELECT I.CLIENT_LINKNO PNO FROM INVOICE I"};
  AddFilters(lines, filter);
  lines.push_back("UNION SELECT B.VENDOR_LINKNO FROM INVOICE I LEFT JOIN BOOKING B ON B.INVOICE_LINKNO = I.INVOICENO");
  AddFilters(lines, filter);
  lines.push_back(std::string(") X LEFT JOIN PROFILE P ON P.PROFILENO = X.PNO ") + kProfileJoins);
  lines.push_back(kProfileOrder);
  return lines;
}

SqlLines OnePassBookingLines(const TInvoiceFilter& filter, bool newDestTable) {
  SqlLines lines{
      "SELECT I.INVOICENO, I.BRANCH_LINKNO, I.INVOICENUMBER, I.ISSUEDATE, I.INVOICETYPE_LINKCODE, I.RECORDLOCATOR, "
      "I.INVOICEGROUP, I.PAYSTATUS_LINKCODE, P.PROFILETYPE_LINKCODE, P.INTERFACEID CLIENTINTERFACEID, B.BOOKINGNO, "
      "B.SUBMITTO_LINKCODE, B.PASSENGERNAME, B.CALCBASEFARE, B.COMMRATE, B.COMMAMT, B.STARTINGTICKETNO, B.CONFIRMNO, "
      "B.DEPARTDATE, B.RETURNDATE, B.ETICKETIND, B.ENDINGTICKETNO, B.INTER_LINKCODE, B.HIGHFARE, B.LOWFARE, "
      "B.TAX1AMT, B.TAX2AMT, B.TAX3AMT, B.TAX4AMT, B.TRAVELTYPE_LINKNO, T.TRAVELCATEGORY_LINKNO, T.TRAVELTYPE, "
      "V.AIRLINENO, V.NAME, V.INTERFACEID VENDORINTERFACEID, R.SOURCEOFBOOKING, R.RESDATE, RC.RESCARDNO, "
      "IA.INTERFACEID IAINTERFACEID, OA.INTERFACEID OIAINTERFACEID",
      newDestTable ? ",RD.DESTINATION" : ",RC.DESTINATIONBYREGION", kInvoiceFrom};
  if (newDestTable) lines.push_back(kDestinationJoin);
  lines.push_back(kAgentJoins);
  AddFilters(lines, filter);
  // Travel-type rows that share a number (no primary key) tie on the
  // booking; the first by category and name stands for it on every run.
  lines.push_back(kBookingOrder);
  return lines;
}

SqlLines OnePassPaymentLines(const TInvoiceFilter& filter, bool isCCEncrypt) {
  return BookingsOf(filter,
                    std::string("SELECT B.INVOICE_LINKNO INVOICENO, B.BOOKINGNO, PY.PAYMENTNO, PY.PAYMETHOD_LINKNO, PY.CKCCNO") +
                        (isCCEncrypt ? ", PY.CKCCNOENCRYPT" : ""),
                    "JOIN PAYDTL PD ON PD.BOOKING_LINKNO = B.BOOKINGNO LEFT JOIN PAYMENT PY ON PY.PAYMENTNO = PD.PAYMENT_LINKNO",
                    // A detail without a payment must not hide the one with a card or cheque.
                    "ORDER BY B.INVOICE_LINKNO, B.BOOKINGNO, PD.PAYMENT_LINKNO NULLS LAST");
}

SqlLines OnePassSegmentLines(const TInvoiceFilter& filter) {
  return BookingsOf(filter,
                    "SELECT B.INVOICE_LINKNO INVOICENO, B.BOOKINGNO, S.SEGMENTNO, S.INDEXNO, S.AIRLINE, S.FLIGHTNO, "
                    "S.CONNECTION, S.DEPARTCITY, S.ARRIVECITY, S.DEPARTDATETIME, S.ARRIVEDATETIME, S.FAREBASIS, S.FARE, "
                    "S.CLASSOFSVC",
                    "JOIN SEGMENTS S ON S.BOOKING_LINKNO = B.BOOKINGNO",
                    "ORDER BY B.INVOICE_LINKNO, B.BOOKINGNO, S.INDEXNO, S.SEGMENTNO");
}

SqlLines OnePassUdidLines(const TInvoiceFilter& filter) {
  return BookingsOf(filter, "SELECT B.INVOICE_LINKNO INVOICENO, B.BOOKINGNO, U.UDIDNO, U.UDID",
                    "JOIN UDIDS U ON U.BOOKING_LINKNO = B.BOOKINGNO", "ORDER BY B.INVOICE_LINKNO, B.BOOKINGNO, U.UDIDNO, U.UDID");
}

}  // namespace iex::db
