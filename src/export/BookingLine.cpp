#include "export/BookingLine.h"

#include "crypto/CardDecoding.h"
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

std::string Status(const std::string& payStatus, const std::string& invoiceType) {
  if (payStatus == "V") return "V";
  if (invoiceType == "R") return "R";
  return "O";
}

}  // namespace

std::string PaymentText(const db::TPaymentRow& payment, const TExportContext& ctx) {
  if (!ctx.IsCCEncrypt) return payment.ckccNo;
  const std::string& sealed = payment.ckccNoEncrypt;
  if (sealed.size() == 1) return payment.ckccNo;
  TMemoryStream stream(std::vector<uint8_t>(sealed.begin(), sealed.end()));
  return DecryptCCNumber(stream, ctx.CipherKey);
}

void WriteBookingLine(TLineWriter& out, const db::TBookingRecord& b, const TExportContext& ctx,
                      const TPaymentFields& payment, int payMethod) {
  const char dec = ctx.regional.decimalSeparator;
  const char sep = ctx.regional.dateSeparator;
  auto amount = [&](int32_t value) { return AmountText(value, dec); };
  auto date = [&](double value) { return DateText(value, sep); };
  const ExportSettings& s = ctx.settings;

  const std::string branch = PadZeros(b.branch, 4);
  const std::string revenue = s.MapBy == 0 ? GetCategoryRevenueType(s, b.travelCategory)
                                           : GetTravelTypeRevenueType(s, b.travelTypeNo);
  const std::string vendorCode = b.airlineNo.empty() ? b.vendorInterfaceId : PadZeros(b.airlineNo, 3);
  const std::string& agent = b.insideAgentId.empty() ? b.outsideAgentId : b.insideAgentId;
  const std::string& locator = b.recordLocator.empty() ? b.rescardNo : b.recordLocator;
  const std::string& itinerary =
      (s.ItinMap == 0 && (b.travelCategory == 4 || b.travelCategory == 5)) ? b.travelType : b.vendorName;

  out.Field("01")
      .Field(branch)
      .Field(b.invoiceNumber)
      .Field(DateAlwaysText(b.issueDate, sep))
      .Field(b.clientInterfaceId)
      .Field(branch)
      .Field(SubmitToCode(b.submitTo))
      .Field(revenue)
      .Field(PassengerField(b.passengerName))
      .Field(PayMethodCode(payMethod))
      .Field("N")
      .Field(amount(b.calcBaseFare))
      .Field(amount(b.commRate))
      .Field(amount(b.commAmt))
      .Field(vendorCode)
      .Field(vendorCode)
      .Field(b.submitTo == "A" ? b.startingTicketNo : b.confirmNo)
      .Field(date(b.departDate))
      .Field(date(b.returnDate))
      .Field(agent)
      .Field(agent)
      .Field(agent)
      .Empty()
      .Field(b.eticketInd == 1 ? "E" : "")
      .Field(b.ticketRange ? std::to_string(*b.ticketRange) : std::string())
      .Field(locator)
      .Field(BookingSource(b.sourceOfBooking))
      .Field(b.interCode)
      .Empty()
      .Field(amount(b.highFare))
      .Empty()
      .Field(amount(b.lowFare))
      .Empty(6)
      .Field(b.clientType == "I" ? "P" : "B")
      .Field(amount(b.tax1))
      .Field(amount(b.tax2))
      .Field(amount(b.tax3))
      .Field(amount(b.tax4))
      .Empty(5)
      .Field(payment.cardType)
      .Field(payment.cardNumber)
      .Field(payment.cardExpiry)
      .Empty()
      .Field(itinerary)
      .Field(b.destination)
      .Empty()
      .Field(DateText(b.issueDate, sep))
      .Empty()
      .Field(b.invoiceGroup)
      .Empty()
      .Field(date(b.resDate))
      .Field(Status(b.payStatus, b.invoiceType))
      .Empty()
      .Field(b.clientInterfaceId);
  out.EndLine();
}

}  // namespace iex
