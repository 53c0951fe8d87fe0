#include "db/RowReaders.h"

#include "db/DbError.h"

namespace iex::db {
namespace {

std::optional<int32_t> WholeOrNone(const TField& f) {
  try {
    return f.AsInteger();
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

std::optional<int64_t> Difference(const TField& start, const TField& end) {
  try {
    return int64_t{end.AsInteger()} - int64_t{start.AsInteger()};
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

}  // namespace

TProfileReader::TProfileReader(const TQuery& q)
    : no_(q.FieldIndex("PROFILENO")),
      type_(q.FieldIndex("PROFILETYPE_LINKCODE")),
      name_(q.FieldIndex("NAME")),
      interfaceId_(q.FieldIndex("INTERFACEID")),
      rate1_(q.FieldIndex("RATE1")),
      category_(q.FieldIndex("TRAVELCATEGORY_LINKNO")),
      address1_(q.FieldIndex("ADDRESS1")),
      address2_(q.FieldIndex("ADDRESS2")),
      city_(q.FieldIndex("CITY")),
      state_(q.FieldIndex("STATE")),
      zip_(q.FieldIndex("ZIP")),
      country_(q.FieldIndex("COUNTRY")),
      email_(q.FieldIndex("EMAIL")),
      busPhone_(q.FieldIndex("BUSPHONE")),
      fax_(q.FieldIndex("FAX")),
      phone_(q.FieldIndex("PHONE")) {}

void TProfileReader::Read(const TQuery& q, TProfileRow& r) const {
  auto text = [&](int col) { return q.Field(col).AsString(); };
  r.profileNo = q.Field(no_).AsInteger();
  r.profileType = text(type_);
  r.name = text(name_);
  r.interfaceId = text(interfaceId_);
  r.rate1 = q.Field(rate1_).AsInteger();
  r.travelCategory = q.Field(category_).AsInteger();
  r.address1 = text(address1_);
  r.address2 = text(address2_);
  r.city = text(city_);
  r.state = text(state_);
  r.zip = text(zip_);
  r.country = text(country_);
  r.email = text(email_);
  r.busPhone = text(busPhone_);
  r.fax = text(fax_);
  r.phone = text(phone_);
}

TBookingReader::TBookingReader(const TQuery& q, bool newDestTable)
    : invoiceNo_(q.FieldIndex("INVOICENO")),
      branch_(q.FieldIndex("BRANCH_LINKNO")),
      invoiceNumber_(q.FieldIndex("INVOICENUMBER")),
      issueDate_(q.FieldIndex("ISSUEDATE")),
      invoiceType_(q.FieldIndex("INVOICETYPE_LINKCODE")),
      recordLocator_(q.FieldIndex("RECORDLOCATOR")),
      invoiceGroup_(q.FieldIndex("INVOICEGROUP")),
      payStatus_(q.FieldIndex("PAYSTATUS_LINKCODE")),
      clientType_(q.FieldIndex("PROFILETYPE_LINKCODE")),
      clientInterfaceId_(q.FieldIndex("CLIENTINTERFACEID")),
      bookingNo_(q.FieldIndex("BOOKINGNO")),
      submitTo_(q.FieldIndex("SUBMITTO_LINKCODE")),
      passengerName_(q.FieldIndex("PASSENGERNAME")),
      calcBaseFare_(q.FieldIndex("CALCBASEFARE")),
      commRate_(q.FieldIndex("COMMRATE")),
      commAmt_(q.FieldIndex("COMMAMT")),
      startingTicketNo_(q.FieldIndex("STARTINGTICKETNO")),
      confirmNo_(q.FieldIndex("CONFIRMNO")),
      departDate_(q.FieldIndex("DEPARTDATE")),
      returnDate_(q.FieldIndex("RETURNDATE")),
      eticketInd_(q.FieldIndex("ETICKETIND")),
      endingTicketNo_(q.FieldIndex("ENDINGTICKETNO")),
      interCode_(q.FieldIndex("INTER_LINKCODE")),
      highFare_(q.FieldIndex("HIGHFARE")),
      lowFare_(q.FieldIndex("LOWFARE")),
      tax1_(q.FieldIndex("TAX1AMT")),
      tax2_(q.FieldIndex("TAX2AMT")),
      tax3_(q.FieldIndex("TAX3AMT")),
      tax4_(q.FieldIndex("TAX4AMT")),
      travelTypeNo_(q.FieldIndex("TRAVELTYPE_LINKNO")),
      travelCategory_(q.FieldIndex("TRAVELCATEGORY_LINKNO")),
      travelType_(q.FieldIndex("TRAVELTYPE")),
      airlineNo_(q.FieldIndex("AIRLINENO")),
      vendorName_(q.FieldIndex("NAME")),
      vendorInterfaceId_(q.FieldIndex("VENDORINTERFACEID")),
      sourceOfBooking_(q.FieldIndex("SOURCEOFBOOKING")),
      resDate_(q.FieldIndex("RESDATE")),
      rescardNo_(q.FieldIndex("RESCARDNO")),
      insideAgentId_(q.FieldIndex("IAINTERFACEID")),
      outsideAgentId_(q.FieldIndex("OIAINTERFACEID")),
      destination_(q.FieldIndex(newDestTable ? "DESTINATION" : "DESTINATIONBYREGION")) {}

void TBookingReader::Read(const TQuery& q, TBookingRecord& r) const {
  auto text = [&](int col) { return q.Field(col).AsString(); };
  auto whole = [&](int col) { return q.Field(col).AsInteger(); };
  auto date = [&](int col) { return q.Field(col).AsDateTime(); };
  r.invoiceNo = whole(invoiceNo_);
  r.bookingNo = whole(bookingNo_);
  r.branch = text(branch_);
  r.invoiceNumber = text(invoiceNumber_);
  r.issueDate = date(issueDate_);
  r.invoiceType = text(invoiceType_);
  r.recordLocator = text(recordLocator_);
  r.invoiceGroup = text(invoiceGroup_);
  r.payStatus = text(payStatus_);
  r.clientType = text(clientType_);
  r.clientInterfaceId = text(clientInterfaceId_);
  r.submitTo = text(submitTo_);
  r.passengerName = text(passengerName_);
  r.calcBaseFare = whole(calcBaseFare_);
  r.commRate = whole(commRate_);
  r.commAmt = whole(commAmt_);
  r.startingTicketNo = text(startingTicketNo_);
  r.confirmNo = text(confirmNo_);
  r.departDate = date(departDate_);
  r.returnDate = date(returnDate_);
  r.eticketInd = WholeOrNone(q.Field(eticketInd_));
  r.ticketRange = Difference(q.Field(startingTicketNo_), q.Field(endingTicketNo_));
  r.interCode = text(interCode_);
  r.highFare = whole(highFare_);
  r.lowFare = whole(lowFare_);
  r.tax1 = whole(tax1_);
  r.tax2 = whole(tax2_);
  r.tax3 = whole(tax3_);
  r.tax4 = whole(tax4_);
  r.travelTypeNo = whole(travelTypeNo_);
  r.travelCategory = whole(travelCategory_);
  r.travelType = text(travelType_);
  r.airlineNo = text(airlineNo_);
  r.vendorName = text(vendorName_);
  r.vendorInterfaceId = text(vendorInterfaceId_);
  r.sourceOfBooking = text(sourceOfBooking_);
  r.resDate = date(resDate_);
  r.rescardNo = text(rescardNo_);
  r.insideAgentId = text(insideAgentId_);
  r.outsideAgentId = text(outsideAgentId_);
  r.destination = text(destination_);
}

TPaymentReader::TPaymentReader(const TQuery& q, bool isCCEncrypt)
    : payMethod_(q.FieldIndex("PAYMETHOD_LINKNO")), ckccNo_(q.FieldIndex("CKCCNO")) {
  if (isCCEncrypt) ckccNoEncrypt_ = q.FieldIndex("CKCCNOENCRYPT");
  for (int i = 0; i < q.FieldCount(); ++i)
    if (q.Field(i).Name() == "PAYMENTNO") paymentNo_ = i;
}

TPaymentRow TPaymentReader::Read(const TQuery& q) const {
  TPaymentRow p;
  if (paymentNo_ >= 0) p.paymentNo = q.Field(paymentNo_).AsInteger();
  p.payMethod = q.Field(payMethod_).AsInteger();
  p.ckccNo = q.Field(ckccNo_).AsString();
  if (ckccNoEncrypt_ >= 0) p.ckccNoEncrypt = q.Field(ckccNoEncrypt_).AsBytes();
  return p;
}

TSegmentReader::TSegmentReader(const TQuery& q)
    : segmentNo_(q.FieldIndex("SEGMENTNO")),
      indexNo_(q.FieldIndex("INDEXNO")),
      airline_(q.FieldIndex("AIRLINE")),
      flightNo_(q.FieldIndex("FLIGHTNO")),
      connection_(q.FieldIndex("CONNECTION")),
      departCity_(q.FieldIndex("DEPARTCITY")),
      arriveCity_(q.FieldIndex("ARRIVECITY")),
      departDateTime_(q.FieldIndex("DEPARTDATETIME")),
      arriveDateTime_(q.FieldIndex("ARRIVEDATETIME")),
      fareBasis_(q.FieldIndex("FAREBASIS")),
      fare_(q.FieldIndex("FARE")),
      classOfSvc_(q.FieldIndex("CLASSOFSVC")) {}

TSegmentRow TSegmentReader::Read(const TQuery& q) const {
  auto text = [&](int col) { return q.Field(col).AsString(); };
  TSegmentRow s;
  s.segmentNo = q.Field(segmentNo_).AsInteger();
  s.indexNo = text(indexNo_);
  s.airline = text(airline_);
  s.flightNo = text(flightNo_);
  s.connection = text(connection_);
  s.departCity = text(departCity_);
  s.arriveCity = text(arriveCity_);
  s.departDateTime = q.Field(departDateTime_).AsDateTime();
  s.arriveDateTime = q.Field(arriveDateTime_).AsDateTime();
  s.fareBasis = text(fareBasis_);
  s.fare = q.Field(fare_).AsInteger();
  s.classOfSvc = text(classOfSvc_);
  return s;
}

TUdidReader::TUdidReader(const TQuery& q) : udidNo_(q.FieldIndex("UDIDNO")), udid_(q.FieldIndex("UDID")) {}

TUdidRow TUdidReader::Read(const TQuery& q) const { return {q.Field(udidNo_).AsString(), q.Field(udid_).AsString(), {}}; }

}  // namespace iex::db
