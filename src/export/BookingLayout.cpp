#include "export/BookingLayout.h"

#include <array>

#include "export/RevenueTypes.h"
#include "export/ValueFormats.h"
#include "util/NumberText.h"

namespace iex {
namespace {

using K = TFieldKind;
using L = TBookingLine;
using V = TFieldValue;

const char* SubmitToCode(const std::string& code) {
  if (code == "S") return "I";
  if (code == "C") return "T";
  if (code == "A") return "A";
  return "";  // no code is defined for any other
}

const char* PayMethodCode(int method) {
  static const char* const kCodes[8] = {"R", "C", "C", "P", "R", "A", "C", "P"};
  return (method >= 1 && method <= 7) ? kCodes[method] : "R";
}

const char* BookingSource(const std::string& source) {
  const std::string s = UpperAscii(source);
  if (s == "AMADEUS") return "AM";
  if (s == "APOLLO/GALILEO") return "AP";
  if (s == "SABRE") return "SA";
  if (s == "WORLDSPAN") return "WS";
  return "";
}

std::string PassengerField(const std::string& name) {
  std::string first = name.substr(0, name.find(';'));
  first = MaxChars(first, 20);
  std::erase(first, ';');
  return first;
}

const char* Status(const std::string& payStatus, const std::string& invoiceType) {
  if (payStatus == "V") return "V";
  if (invoiceType == "R") return "R";
  return "O";
}

void Revenue(const L& l, V& v) {
  const ExportSettings& s = l.settings;
  if (s.MapBy == 0) {
    v.Own(GetCategoryRevenueType(s, l.booking.travelCategory));
    v.column = "TRAVELCATEGORY_LINKNO";
  } else {
    v.Own(GetTravelTypeRevenueType(s, l.booking.travelTypeNo));
    v.column = "TRAVELTYPE_LINKNO";
  }
}

void VendorCode(const L& l, V& v) {
  const TBookingRecord& b = l.booking;
  if (b.airlineNo.empty()) {
    v.text = b.vendorInterfaceId;
    v.column = "VENDORINTERFACEID";
  } else {
    v.Own(PadZeros(b.airlineNo, 3));
    v.column = "AIRLINENO";
  }
}

void Agent(const L& l, V& v) {
  const TBookingRecord& b = l.booking;
  const bool inside = !b.insideAgentId.empty();
  v.text = inside ? b.insideAgentId : b.outsideAgentId;
  v.column = inside ? "IAINTERFACEID" : "OIAINTERFACEID";
}

void Amount(V& v, int32_t hundredths) { v.number = hundredths; }

#define EMPTY(n) {n, "(always empty)", K::Empty, 0, nullptr, nullptr}

const std::array<TFieldSpec<L>, 63> kBookingLayout{{
    {1, "record type", K::Constant, 0, nullptr, [](const L&, V& v) { v.text = "01"; }},
    {2, "branch", K::ZeroPadded, 4, "BRANCH_LINKNO", [](const L& l, V& v) { v.text = l.booking.branch; }},
    {3, "invoice number", K::Text, 0, "INVOICENUMBER", [](const L& l, V& v) { v.text = l.booking.invoiceNumber; }},
    {4, "issue date", K::DateAlways, 0, "ISSUEDATE", [](const L& l, V& v) { v.date = l.booking.issueDate; }},
    {5, "client identifier", K::Text, 0, "CLIENTINTERFACEID", [](const L& l, V& v) { v.text = l.booking.clientInterfaceId; }},
    {6, "branch", K::ZeroPadded, 4, "BRANCH_LINKNO", [](const L& l, V& v) { v.text = l.booking.branch; }},
    {7, "submit-to code", K::Constant, 0, nullptr, [](const L& l, V& v) { v.text = SubmitToCode(l.booking.submitTo); }},
    {8, "revenue type", K::Text, 0, nullptr, Revenue},
    {9, "passenger", K::Text, 20, "PASSENGERNAME", [](const L& l, V& v) { v.Own(PassengerField(l.booking.passengerName)); }},
    {10, "pay-method code", K::Constant, 0, nullptr, [](const L& l, V& v) { v.text = PayMethodCode(l.payMethod); }},
    {11, "fixed flag", K::Constant, 0, nullptr, [](const L&, V& v) { v.text = "N"; }},
    {12, "base fare", K::Amount, 0, "CALCBASEFARE", [](const L& l, V& v) { Amount(v, l.booking.calcBaseFare); }},
    {13, "commission rate", K::Amount, 0, "COMMRATE", [](const L& l, V& v) { Amount(v, l.booking.commRate); }},
    {14, "commission amount", K::Amount, 0, "COMMAMT", [](const L& l, V& v) { Amount(v, l.booking.commAmt); }},
    // AIRLINENO zero-padded to three digits; without one, the vendor's interface identifier.
    {15, "vendor code", K::Text, 0, nullptr, VendorCode},
    {16, "vendor code", K::Text, 0, nullptr, VendorCode},
    {17, "ticket or confirmation", K::Text, 0, nullptr,
     [](const L& l, V& v) {
       const bool ticket = l.booking.submitTo == "A";
       v.text = ticket ? l.booking.startingTicketNo : l.booking.confirmNo;
       v.column = ticket ? "STARTINGTICKETNO" : "CONFIRMNO";
     }},
    {18, "departure date", K::Date, 0, "DEPARTDATE", [](const L& l, V& v) { v.date = l.booking.departDate; }},
    {19, "return date", K::Date, 0, "RETURNDATE", [](const L& l, V& v) { v.date = l.booking.returnDate; }},
    {20, "agent identifier", K::Text, 0, nullptr, Agent},
    {21, "agent identifier", K::Text, 0, nullptr, Agent},
    {22, "agent identifier", K::Text, 0, nullptr, Agent},
    EMPTY(23),
    {24, "e-ticket flag", K::Constant, 0, nullptr, [](const L& l, V& v) { v.text = l.booking.eticketInd == 1 ? "E" : ""; }},
    {25, "ticket range", K::Integer, 0, nullptr,
     [](const L& l, V& v) {
       v.blank = !l.booking.ticketRange;
       v.number = l.booking.ticketRange.value_or(0);
     }},
    {26, "record locator", K::Text, 0, nullptr,
     [](const L& l, V& v) {
       const bool own = !l.booking.recordLocator.empty();
       v.text = own ? l.booking.recordLocator : l.booking.rescardNo;
       v.column = own ? "RECORDLOCATOR" : "RESCARDNO";
     }},
    {27, "booking source", K::Constant, 0, nullptr, [](const L& l, V& v) { v.text = BookingSource(l.booking.sourceOfBooking); }},
    {28, "international code", K::Text, 0, "INTER_LINKCODE", [](const L& l, V& v) { v.text = l.booking.interCode; }},
    EMPTY(29),
    {30, "high fare", K::Amount, 0, "HIGHFARE", [](const L& l, V& v) { Amount(v, l.booking.highFare); }},
    EMPTY(31),
    {32, "low fare", K::Amount, 0, "LOWFARE", [](const L& l, V& v) { Amount(v, l.booking.lowFare); }},
    EMPTY(33), EMPTY(34), EMPTY(35), EMPTY(36), EMPTY(37), EMPTY(38),
    {39, "client kind", K::Constant, 0, nullptr, [](const L& l, V& v) { v.text = l.booking.clientType == "I" ? "P" : "B"; }},
    {40, "tax 1", K::Amount, 0, "TAX1AMT", [](const L& l, V& v) { Amount(v, l.booking.tax1); }},
    {41, "tax 2", K::Amount, 0, "TAX2AMT", [](const L& l, V& v) { Amount(v, l.booking.tax2); }},
    {42, "tax 3", K::Amount, 0, "TAX3AMT", [](const L& l, V& v) { Amount(v, l.booking.tax3); }},
    {43, "tax 4", K::Amount, 0, "TAX4AMT", [](const L& l, V& v) { Amount(v, l.booking.tax4); }},
    EMPTY(44), EMPTY(45), EMPTY(46), EMPTY(47), EMPTY(48),
    {49, "card type code", K::Text, 0, "CKCCNO", [](const L& l, V& v) { v.text = l.payment.cardType; }},
    {50, "card number", K::Text, 0, "CKCCNO", [](const L& l, V& v) { v.text = l.payment.cardNumber; }},
    {51, "card expiry", K::Text, 0, "CKCCNO", [](const L& l, V& v) { v.text = l.payment.cardExpiry; }},
    EMPTY(52),
    {53, "itinerary or provider name", K::Text, 0, nullptr,
     [](const L& l, V& v) {
       const TBookingRecord& b = l.booking;
       const bool byType = l.settings.ItinMap == 0 && (b.travelCategory == 4 || b.travelCategory == 5);
       v.text = byType ? b.travelType : b.vendorName;
       v.column = byType ? "TRAVELTYPE" : "NAME";
     }},
    {54, "destination", K::Text, 0, "DESTINATION", [](const L& l, V& v) { v.text = l.booking.destination; }},
    EMPTY(55),
    {56, "issue date", K::Date, 0, "ISSUEDATE", [](const L& l, V& v) { v.date = l.booking.issueDate; }},
    EMPTY(57),
    {58, "invoice group", K::Text, 0, "INVOICEGROUP", [](const L& l, V& v) { v.text = l.booking.invoiceGroup; }},
    EMPTY(59),
    {60, "reservation date", K::Date, 0, "RESDATE", [](const L& l, V& v) { v.date = l.booking.resDate; }},
    {61, "status", K::Constant, 0, nullptr,
     [](const L& l, V& v) { v.text = Status(l.booking.payStatus, l.booking.invoiceType); }},
    EMPTY(62),
    {63, "client identifier", K::Text, 0, "CLIENTINTERFACEID", [](const L& l, V& v) { v.text = l.booking.clientInterfaceId; }},
}};

#undef EMPTY

}  // namespace

TRecordLayout<TBookingLine> BookingLayout() { return kBookingLayout; }

}  // namespace iex
