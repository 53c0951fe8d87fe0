#include "export/BookingLine.h"

#include "crypto/CardDecoding.h"
#include "db/DbError.h"
#include "export/RevenueTypes.h"
#include "export/ValueFormats.h"
#include "util/NumberText.h"

namespace iex {
namespace {

std::string SubmitToCode(const std::string& code) {
  if (code == "S") return "I";
  if (code == "C") return "T";
  if (code == "A") return "A";
  return std::string();  // no code is defined for any other
}

std::string PayMethodCode(int method) {
  static const char* const kCodes[8] = {"R", "C", "C", "P", "R", "A", "C", "P"};
  return (method >= 1 && method <= 7) ? kCodes[method] : "R";
}

std::string BookingSource(const std::string& source) {
  const std::string s = UpperAscii(source);
  if (s == "AMADEUS") return "AM";
  if (s == "APOLLO/GALILEO") return "AP";
  if (s == "SABRE") return "SA";
  if (s == "WORLDSPAN") return "WS";
  return std::string();
}

std::string PassengerField(const std::string& name) {
  std::string first = name.substr(0, name.find(';'));
  first = MaxChars(first, 20);
  std::erase(first, ';');
  return first;
}

std::string ETicketFlag(const db::TField& f) {
  try {
    return f.AsInteger() == 1 ? "E" : "";
  } catch (const db::EConvertError&) {
    return std::string();
  }
}

std::string TicketRange(const db::TField& start, const db::TField& end) {
  try {
    return std::to_string(int64_t{end.AsInteger()} - int64_t{start.AsInteger()});
  } catch (const db::EConvertError&) {
    return std::string();
  }
}

std::string Status(const std::string& payStatus, const std::string& invoiceType) {
  if (payStatus == "V") return "V";
  if (invoiceType == "R") return "R";
  return "O";
}

}  // namespace

std::string PaymentText(const db::TQuery& q, const InvoiceColumns& c, const TExportContext& ctx) {
  if (!ctx.IsCCEncrypt) return q.Field(c.CKCCNO).AsString();
  const std::string sealed = q.Field(c.CKCCNOENCRYPT).AsBytes();
  if (sealed.size() == 1) return q.Field(c.CKCCNO).AsString();
  TMemoryStream stream(std::vector<uint8_t>(sealed.begin(), sealed.end()));
  return DecryptCCNumber(stream, ctx.CipherKey);
}

void WriteBookingLine(TLineWriter& out, const db::TQuery& q, const InvoiceColumns& c, const TExportContext& ctx,
                      const TPaymentFields& payment) {
  auto text = [&](int col) { return q.Field(col).AsString(); };
  const char dec = ctx.regional.decimalSeparator;
  const char sep = ctx.regional.dateSeparator;
  auto amount = [&](int col) { return AmountText(q.Field(col).AsInteger(), dec); };
  auto date = [&](int col) { return DateText(q.Field(col).AsDateTime(), sep); };
  const ExportSettings& s = ctx.settings;

  const std::string branch = PadZeros(text(c.BRANCH_LINKNO), 4);
  const std::string client = text(c.CLIENTINTERFACEID);
  const std::string submitTo = text(c.SUBMITTO_LINKCODE);
  const int category = q.Field(c.TRAVELCATEGORY_LINKNO).AsInteger();
  const std::string revenue = s.MapBy == 0 ? GetCategoryRevenueType(s, category)
                                           : GetTravelTypeRevenueType(s, q.Field(c.TRAVELTYPE_LINKNO).AsInteger());
  const std::string airline = text(c.AIRLINENO);
  const std::string vendorCode = airline.empty() ? text(c.VENDORINTERFACEID) : PadZeros(airline, 3);
  const std::string agent = text(c.IAINTERFACEID).empty() ? text(c.OIAINTERFACEID) : text(c.IAINTERFACEID);
  const std::string locator = text(c.RECORDLOCATOR).empty() ? text(c.RESCARDNO) : text(c.RECORDLOCATOR);
  const std::string itinerary =
      (s.ItinMap == 0 && (category == 4 || category == 5)) ? text(c.TRAVELTYPE) : text(c.NAME);
  const double issue = q.Field(c.ISSUEDATE).AsDateTime();

  out.Field("01")
      .Field(branch)
      .Field(text(c.INVOICENUMBER))
      .Field(DateAlwaysText(issue, sep))
      .Field(client)
      .Field(branch)
      .Field(SubmitToCode(submitTo))
      .Field(revenue)
      .Field(PassengerField(text(c.PASSENGERNAME)))
      .Field(PayMethodCode(q.Field(c.PAYMETHOD_LINKNO).AsInteger()))
      .Field("N")
      .Field(amount(c.CALCBASEFARE))
      .Field(amount(c.COMMRATE))
      .Field(amount(c.COMMAMT))
      .Field(vendorCode)
      .Field(vendorCode)
      .Field(submitTo == "A" ? text(c.STARTINGTICKETNO) : text(c.CONFIRMNO))
      .Field(date(c.DEPARTDATE))
      .Field(date(c.RETURNDATE))
      .Field(agent)
      .Field(agent)
      .Field(agent)
      .Empty()
      .Field(ETicketFlag(q.Field(c.ETICKETIND)))
      .Field(TicketRange(q.Field(c.STARTINGTICKETNO), q.Field(c.ENDINGTICKETNO)))
      .Field(locator)
      .Field(BookingSource(text(c.SOURCEOFBOOKING)))
      .Field(text(c.INTER_LINKCODE))
      .Empty()
      .Field(amount(c.HIGHFARE))
      .Empty()
      .Field(amount(c.LOWFARE))
      .Empty(6)
      .Field(text(c.PROFILETYPE_LINKCODE) == "I" ? "P" : "B")
      .Field(amount(c.TAX1AMT))
      .Field(amount(c.TAX2AMT))
      .Field(amount(c.TAX3AMT))
      .Field(amount(c.TAX4AMT))
      .Empty(5)
      .Field(payment.cardType)
      .Field(payment.cardNumber)
      .Field(payment.cardExpiry)
      .Empty()
      .Field(itinerary)
      .Field(text(c.DESTINATION))
      .Empty()
      .Field(DateText(issue, sep))
      .Empty()
      .Field(text(c.INVOICEGROUP))
      .Empty()
      .Field(date(c.RESDATE))
      .Field(Status(text(c.PAYSTATUS_LINKCODE), text(c.INVOICETYPE_LINKCODE)))
      .Empty()
      .Field(client);
  out.EndLine();
}

}  // namespace iex
