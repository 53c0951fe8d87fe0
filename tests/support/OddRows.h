#pragma once
#include <string>

// Rows the generator does not make but real agency databases hold, as SQL
// scripts over a generated database.
namespace iex::test {

// A booking of a hand-made invoice: the generator's first client, vendor,
// reservation and travel type, so every join the export makes finds a row.
inline std::string HandMadeInvoice(const std::string& invoiceNo, const std::string& number, const std::string& issued) {
  return "INSERT INTO INVOICE (INVOICENO, BRANCH_LINKNO, INVOICENUMBER, ISSUEDATE, INVOICETYPE_LINKCODE, CLIENT_LINKNO, "
         "PAYSTATUS_LINKCODE) SELECT " + invoiceNo + ", 0, " + number + ", '" + issued +
         "', 'S', MIN(CLIENT_LINKNO), 'O' FROM INVOICE;\n";
}
inline std::string HandMadeBooking(const std::string& bookingNo, const std::string& invoiceNo) {
  return "INSERT INTO BOOKING (BOOKINGNO, INVOICE_LINKNO, VENDOR_LINKNO, RESERVATION_LINKNO, TRAVELTYPE_LINKNO, "
         "SUBMITTO_LINKCODE, PASSENGERNAME, CALCBASEFARE, TAX1AMT) SELECT " + bookingNo + ", " + invoiceNo +
         ", MIN(VENDOR_LINKNO), MIN(RESERVATION_LINKNO), (SELECT MIN(TRAVELTYPENO) FROM TRAVELTYPE), 'S', 'ZERO/" +
         bookingNo + "', 10000, 100 FROM BOOKING;\n";
}

// Invoice key 0 (invoice number 990004, two bookings), a travel type held
// twice and a booking key held twice (their primary keys dropped; the copy
// of booking 990041 has a travel type of a later category), a booking not
// yet invoiced with payment details and a UDID, and a payment detail
// without a payment; the card payment 990300 is the one the invoice-0
// bookings should show.
inline std::string OddKeysScript() {
  return "SET TERM ^ ;\n"
         "EXECUTE BLOCK AS DECLARE n CHAR(63); DECLARE t CHAR(63); BEGIN\n"
         "  FOR SELECT RDB$CONSTRAINT_NAME, RDB$RELATION_NAME FROM RDB$RELATION_CONSTRAINTS\n"
         "    WHERE RDB$RELATION_NAME IN ('TRAVELTYPE', 'BOOKING') AND RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' INTO :n, :t DO\n"
         "  EXECUTE STATEMENT 'ALTER TABLE ' || TRIM(t) || ' DROP CONSTRAINT ' || TRIM(n);\n"
         "END^\n"
         "SET TERM ; ^\n"
         "ALTER TABLE BOOKING ALTER INVOICE_LINKNO DROP NOT NULL;\n"
         "ALTER TABLE PAYDTL ALTER PAYMENT_LINKNO DROP NOT NULL;\n"
         "INSERT INTO TRAVELTYPE SELECT TRAVELTYPENO, 'Zz second row', 9 FROM TRAVELTYPE WHERE TRAVELTYPENO = "
         "(SELECT MIN(TRAVELTYPENO) FROM TRAVELTYPE);\n" +
         HandMadeInvoice("0", "990004", "2024-06-01") + HandMadeBooking("990041", "0") + HandMadeBooking("990042", "0") +
         HandMadeBooking("990043", "NULL") +
         "INSERT INTO PAYMENT VALUES (990300, 3, 'VI 4111111111111111/1226', NULL);\n"
         "INSERT INTO PAYMENT VALUES (990301, 2, '004512', NULL);\n"
         "INSERT INTO PAYDTL VALUES (990401, 990041, NULL);\n"
         "INSERT INTO PAYDTL VALUES (990402, 990041, 990300);\n"
         "INSERT INTO PAYDTL VALUES (990403, 990042, 990300);\n"
         "INSERT INTO PAYDTL VALUES (990404, 990043, 990301);\n"
         "INSERT INTO UDIDS VALUES (990501, 990041, 1, 'ZERO UDID');\n"
         "INSERT INTO UDIDS VALUES (990502, 990043, 1, 'NOT INVOICED');\n"
         "INSERT INTO BOOKING (BOOKINGNO, INVOICE_LINKNO, VENDOR_LINKNO, RESERVATION_LINKNO, TRAVELTYPE_LINKNO, "
         "SUBMITTO_LINKCODE, PASSENGERNAME, CALCBASEFARE) SELECT BOOKINGNO, INVOICE_LINKNO, VENDOR_LINKNO, "
         "RESERVATION_LINKNO, (SELECT MIN(TRAVELTYPENO) FROM TRAVELTYPE WHERE TRAVELCATEGORY_LINKNO = 9), 'S', "
         "'COPY/990041', 1 FROM BOOKING WHERE BOOKINGNO = 990041;\n";
}

}  // namespace iex::test
