// Each record type field by field against values worked out by hand from
// the stated layouts, widths at their limits: a field moved, widened or
// fed from another column fails here, naming it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/AccountLayout.h"
#include "export/BookingLayout.h"
#include "export/DetailLayouts.h"
#include "export/LineWriter.h"
#include "util/DateValue.h"

namespace iex {
namespace {

struct Expected {
  int number;
  const char* name;
  std::string text;
};

const TValueStyle kStyle{'.', '/'};

// A file that keeps what is written in memory.
struct TMemoryFile : TWritableFile {
  std::string* bytes;
  explicit TMemoryFile(std::string* b) : bytes(b) {}
  void Append(std::string_view data) override { bytes->append(data); }
  void Sync() override {}
  void Close() override {}
};

// The line as the writers write it (every field through the one loop that
// reuses its value holder), cut at its TABs.
template <typename Record>
std::vector<std::string> WrittenFields(TRecordLayout<Record> layout, const Record& record) {
  std::string bytes;
  {
    TLineWriter out(std::make_unique<TMemoryFile>(&bytes), "LINE.DAT");
    TLossReport report;
    WriteRecord(out, layout, record, kStyle, {}, report);
    out.Close();
  }
  std::vector<std::string> fields;
  for (std::size_t start = 0, tab; (tab = bytes.find('\t', start)) != std::string::npos; start = tab + 1)
    fields.push_back(bytes.substr(start, tab - start));
  return fields;
}

template <typename Record>
void ExpectFields(TRecordLayout<Record> layout, const Record& record, const std::vector<Expected>& expected,
                  const char* what) {
  ASSERT_EQ(layout.size(), expected.size()) << what << ": number of fields";
  const std::vector<std::string> fields = WrittenFields(layout, record);
  ASSERT_EQ(fields.size(), expected.size()) << what << ": fields written";
  EXPECT_EQ(fields, FormatRecord(layout, record, kStyle)) << what << ": written as formatted";
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Expected& e = expected[i];
    EXPECT_EQ(layout[i].number, e.number) << what << ": field " << e.number << " (" << e.name << ") out of place";
    EXPECT_STREQ(layout[i].name, e.name) << what << ": field " << e.number;
    EXPECT_EQ(fields[i], e.text) << what << ": field " << e.number << " (" << e.name << ")";
  }
}

TEST(AccountLayout, VendorAndClientLinesFieldByField) {
  TProfileRow v;
  v.profileNo = 7;
  v.profileType = "V";
  v.interfaceId = "ABCDEFGHIJK";                    // 11: cut to 10, whole in field 5
  v.name = "Intercontinental Tours Worldwide";      // 32: cut to 30
  v.rate1 = 1050;
  v.travelCategory = 2;
  v.address1 = "1234567890123456789012345678901";  // 31
  v.address2 = "123456789012345678901234567890";   // 30: whole
  v.city = "Rio de Janeiro X";                      // 16
  v.state = "NYC";
  v.zip = "12345-67890";                            // 11
  v.country = "United States of Amer";              // 21
  v.email = std::string(51, 'e');
  v.phone = "+1 (212) 555-0100";
  v.busPhone = "999";
  v.fax = "() 555-0100";
  ExpectFields(AccountLayout(), v,
               {{1, "interface identifier", "ABCDEFGHIJ"},
                {2, "account kind", "P"},
                {3, "type code", "H"},
                {4, "name", "Intercontinental Tours Worldwi"},
                {5, "vendor identifier", "ABCDEFGHIJK"},
                {6, "short name", "Intercontinen"},
                {7, "(always empty)", ""},
                {8, "address line 1", "123456789012345678901234567890"},
                {9, "address line 2", "123456789012345678901234567890"},
                {10, "city", "Rio de Janeiro "},
                {11, "state", "NY"},
                {12, "postal code", "12345-6789"},
                {13, "country", "United States of Ame"},
                {14, "e-mail address", std::string(50, 'e')},
                {15, "first telephone", "(212) 555-0100"},
                {16, "fax", "555-0100"},
                {17, "second telephone", ""},
                {18, "rate", "10.5"},
                {19, "(always empty)", ""},
                {20, "(always empty)", ""},
                {21, "(always empty)", ""}},
               "vendor");

  TProfileRow c = v;
  c.profileType = "";
  c.rate1 = 500;
  c.busPhone = "  0800 123 456 789 0  ";  // cleaned, then 15
  c.phone = "555";
  ExpectFields(AccountLayout(), c,
               {{1, "interface identifier", "ABCDEFGHIJ"},
                {2, "account kind", "C"},
                {3, "type code", "P"},
                {4, "name", "Intercontinental Tours Worldwi"},
                {5, "vendor identifier", ""},
                {6, "short name", "Intercontinen"},
                {7, "(always empty)", ""},
                {8, "address line 1", "123456789012345678901234567890"},
                {9, "address line 2", "123456789012345678901234567890"},
                {10, "city", "Rio de Janeiro "},
                {11, "state", "NY"},
                {12, "postal code", "12345-6789"},
                {13, "country", "United States of Ame"},
                {14, "e-mail address", std::string(50, 'e')},
                {15, "first telephone", "0800 123 456 78"},
                {16, "fax", "555-0100"},
                {17, "second telephone", "555"},
                {18, "rate", ""},
                {19, "(always empty)", ""},
                {20, "(always empty)", ""},
                {21, "(always empty)", ""}},
               "client");
}

TEST(BookingLayout, FieldByField) {
  TBookingRecord b;
  b.branch = "7";
  b.invoiceNumber = "100234";
  b.issueDate = EncodeDate(2014, 3, 7);
  b.clientInterfaceId = "CLI-1";
  b.submitTo = "A";
  b.passengerName = "SMITH/JOHNATHAN MRRRRR;SMITH/JANE MRS";  // first name 22: cut to 20
  b.calcBaseFare = 12345;
  b.commRate = 1000;
  b.commAmt = 5;
  b.airlineNo = "1";
  b.vendorInterfaceId = "VEN-9";
  b.startingTicketNo = "1000";
  b.confirmNo = "CONF";
  b.departDate = EncodeDate(2014, 4, 1);
  b.returnDate = 0;
  b.insideAgentId = "";
  b.outsideAgentId = "OUT-3";
  b.eticketInd = 1;
  b.ticketRange = 2;
  b.recordLocator = "";
  b.rescardNo = "RC77";
  b.sourceOfBooking = "Sabre";
  b.interCode = "IT";
  b.highFare = 100000;
  b.lowFare = -250;
  b.clientType = "I";
  b.tax1 = 1;
  b.tax2 = 20;
  b.tax3 = 300;
  b.tax4 = 4000;
  b.travelCategory = 4;
  b.travelTypeNo = 12;
  b.travelType = "Caribbean Cruise";
  b.vendorName = "Sea Lines";
  b.destination = "Nassau";
  b.invoiceGroup = "GRP";
  b.resDate = EncodeDate(2013, 12, 31);
  b.payStatus = "X";
  b.invoiceType = "R";
  ExportSettings s;
  for (int c = 1; c <= 10; ++c) s.CategoryLetters[static_cast<std::size_t>(c)] = std::string(1, static_cast<char>('J' + c));
  const TPaymentFields payment{"VI", "4111111111111111", "12/26", ""};
  const TBookingLine line{b, payment, 6, s};
  std::vector<Expected> expected = {
      {1, "record type", "01"},
      {2, "branch", "0007"},
      {3, "invoice number", "100234"},
      {4, "issue date", "03/07/2014"},
      {5, "client identifier", "CLI-1"},
      {6, "branch", "0007"},
      {7, "submit-to code", "A"},
      {8, "revenue type", "N"},  // category 4, map by category: the user's letter
      {9, "passenger", "SMITH/JOHNATHAN MRRR"},
      {10, "pay-method code", "C"},
      {11, "fixed flag", "N"},
      {12, "base fare", "123.45"},
      {13, "commission rate", "10"},
      {14, "commission amount", "0.05"},
      {15, "vendor code", "001"},
      {16, "vendor code", "001"},
      {17, "ticket or confirmation", "1000"},
      {18, "departure date", "04/01/2014"},
      {19, "return date", ""},
      {20, "agent identifier", "OUT-3"},
      {21, "agent identifier", "OUT-3"},
      {22, "agent identifier", "OUT-3"},
      {23, "(always empty)", ""},
      {24, "e-ticket flag", "E"},
      {25, "ticket range", "2"},
      {26, "record locator", "RC77"},
      {27, "booking source", "SA"},
      {28, "international code", "IT"},
      {29, "(always empty)", ""},
      {30, "high fare", "1000"},
      {31, "(always empty)", ""},
      {32, "low fare", "-2.5"},
  };
  for (int n = 33; n <= 38; ++n) expected.push_back({n, "(always empty)", ""});
  expected.insert(expected.end(), {{39, "client kind", "P"},
                                   {40, "tax 1", "0.01"},
                                   {41, "tax 2", "0.2"},
                                   {42, "tax 3", "3"},
                                   {43, "tax 4", "40"}});
  for (int n = 44; n <= 48; ++n) expected.push_back({n, "(always empty)", ""});
  expected.insert(expected.end(), {{49, "card type code", "VI"},
                                   {50, "card number", "4111111111111111"},
                                   {51, "card expiry", "12/26"},
                                   {52, "(always empty)", ""},
                                   {53, "itinerary or provider name", "Caribbean Cruise"},
                                   {54, "destination", "Nassau"},
                                   {55, "(always empty)", ""},
                                   {56, "issue date", "03/07/2014"},
                                   {57, "(always empty)", ""},
                                   {58, "invoice group", "GRP"},
                                   {59, "(always empty)", ""},
                                   {60, "reservation date", "12/31/2013"},
                                   {61, "status", "R"},
                                   {62, "(always empty)", ""},
                                   {63, "client identifier", "CLI-1"}});
  ExpectFields(BookingLayout(), line, expected, "booking");

  // The other side of each rule.
  b.submitTo = "C";
  b.airlineNo = "";
  b.insideAgentId = "IN-1";
  b.eticketInd = std::nullopt;
  b.ticketRange = std::nullopt;
  b.recordLocator = "LOC";
  b.clientType = "C";
  b.issueDate = 0;
  b.payStatus = "V";
  s.MapBy = 1;
  s.ItinMap = 1;
  s.TravelTypeLetters[3] = {12, "q"};
  const TPaymentFields none;
  const TBookingLine other{b, none, 0, s};
  const std::vector<std::string> fields = WrittenFields(BookingLayout(), other);
  struct Check {
    int number;
    std::string text;
  } checks[] = {{4, "12/30/1899"}, {7, "T"},     {8, "Q"},    {10, "R"},  {15, "VEN-9"},     {16, "VEN-9"}, {17, "CONF"},
                {20, "IN-1"},      {24, ""},      {25, ""},    {26, "LOC"}, {39, "B"},        {53, "Sea Lines"}, {56, ""},
                {61, "V"},
                // A blank ticket range blanks nothing after it.
                {30, "1000"},      {32, "-2.5"}};
  for (const Check& c : checks) EXPECT_EQ(fields[static_cast<std::size_t>(c.number - 1)], c.text) << "field " << c.number;
}

TEST(DetailLayouts, SegmentUdidAndPaymentReferenceFieldByField) {
  TSegmentRow s;
  s.segmentNo = 5;
  s.indexNo = "2";
  s.airline = "LH";
  s.flightNo = "400";
  s.connection = "X";
  s.departCity = "FRA";
  s.arriveCity = "JFK";
  s.departDateTime = EncodeDate(2014, 3, 7) + (14 * 60 + 5) / 1440.0;
  s.arriveDateTime = EncodeDate(2014, 3, 8);
  s.fareBasis = "YLXAP14NR";
  s.fare = 99999;
  s.classOfSvc = "Y";
  std::vector<Expected> segment = {{1, "record type", "02"},      {2, "segment index", "2"},
                                   {3, "airline", "LH"},          {4, "flight number", "400"},
                                   {5, "connection", "X"},        {6, "departure city", "FRA"},
                                   {7, "arrival city", "JFK"},    {8, "departure date", "03/07/2014"},
                                   {9, "arrival date", "03/08/2014"}, {10, "departure time", "0205P"},
                                   {11, "arrival time", ""},      {12, "fare basis", "YLXAP14N"},
                                   {13, "fare", "999.99"},        {14, "class of service", "Y"}};
  for (int n = 15; n <= 21; ++n) segment.push_back({n, "(always empty)", ""});
  ExpectFields(SegmentLayout(), s, segment, "segment");

  const TUdidRow u{"12", std::string(61, 'u'), {}};
  ExpectFields(UdidLayout(), u, {{1, "record type", "03"}, {2, "UDID number", "12"}, {3, "UDID text", std::string(60, 'u')}},
               "UDID");
  const std::string reference = "004512";
  ExpectFields(PaymentRefLayout(), reference,
               {{1, "record type", "03"}, {2, "number", "101"}, {3, "payment reference", "004512"}}, "payment reference");
}

}  // namespace
}  // namespace iex
