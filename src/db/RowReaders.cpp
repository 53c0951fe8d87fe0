#include "db/RowReaders.h"

#include "db/DbError.h"
#include "db/ValueReads.h"

namespace iex::db {

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
  r.lossy.clear();
  auto text = [&](int col, const char* name) { return ReadText(q, col, name, r.lossy); };
  r.noProfile = q.Field(no_).IsNull();
  r.profileNo = q.Field(no_).AsInteger();
  r.profileType = text(type_, "PROFILETYPE_LINKCODE");
  r.name = text(name_, "NAME");
  r.interfaceId = text(interfaceId_, "INTERFACEID");
  r.rate1 = ReadAmount(q, rate1_, "RATE1", "profile " + std::to_string(r.profileNo));
  r.travelCategory = q.Field(category_).AsInteger();
  r.address1 = text(address1_, "ADDRESS1");
  r.address2 = text(address2_, "ADDRESS2");
  r.city = text(city_, "CITY");
  r.state = text(state_, "STATE");
  r.zip = text(zip_, "ZIP");
  r.country = text(country_, "COUNTRY");
  r.email = text(email_, "EMAIL");
  r.busPhone = text(busPhone_, "BUSPHONE");
  r.fax = text(fax_, "FAX");
  r.phone = text(phone_, "PHONE");
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
  r.lossy.clear();
  auto text = [&](int col, const char* name) { return ReadText(q, col, name, r.lossy); };
  auto whole = [&](int col) { return q.Field(col).AsInteger(); };
  auto date = [&](int col) { return q.Field(col).AsDateTime(); };
  r.invoiceNo = whole(invoiceNo_);
  r.bookingNo = whole(bookingNo_);
  r.branch = text(branch_, "BRANCH_LINKNO");
  r.invoiceNumber = text(invoiceNumber_, "INVOICENUMBER");
  const std::string where = "invoice " + r.invoiceNumber;
  auto amount = [&](int col, const char* name) { return ReadAmount(q, col, name, where); };
  r.issueDate = date(issueDate_);
  r.invoiceType = text(invoiceType_, "INVOICETYPE_LINKCODE");
  r.recordLocator = text(recordLocator_, "RECORDLOCATOR");
  r.invoiceGroup = text(invoiceGroup_, "INVOICEGROUP");
  r.payStatus = text(payStatus_, "PAYSTATUS_LINKCODE");
  r.clientType = text(clientType_, "PROFILETYPE_LINKCODE");
  r.clientInterfaceId = text(clientInterfaceId_, "CLIENTINTERFACEID");
  r.submitTo = text(submitTo_, "SUBMITTO_LINKCODE");
  r.passengerName = text(passengerName_, "PASSENGERNAME");
  r.calcBaseFare = amount(calcBaseFare_, "CALCBASEFARE");
  r.commRate = amount(commRate_, "COMMRATE");
  r.commAmt = amount(commAmt_, "COMMAMT");
  r.startingTicketNo = text(startingTicketNo_, "STARTINGTICKETNO");
  r.confirmNo = text(confirmNo_, "CONFIRMNO");
  r.departDate = date(departDate_);
  r.returnDate = date(returnDate_);
  r.eticketInd = ReadWholeOrNone(q, eticketInd_);
  r.ticketRange = ReadDifference(q, startingTicketNo_, endingTicketNo_);
  r.interCode = text(interCode_, "INTER_LINKCODE");
  r.highFare = amount(highFare_, "HIGHFARE");
  r.lowFare = amount(lowFare_, "LOWFARE");
  r.tax1 = amount(tax1_, "TAX1AMT");
  r.tax2 = amount(tax2_, "TAX2AMT");
  r.tax3 = amount(tax3_, "TAX3AMT");
  r.tax4 = amount(tax4_, "TAX4AMT");
  r.travelTypeNo = whole(travelTypeNo_);
  r.travelCategory = whole(travelCategory_);
  r.travelType = text(travelType_, "TRAVELTYPE");
  r.airlineNo = text(airlineNo_, "AIRLINENO");
  r.vendorName = text(vendorName_, "NAME");
  r.vendorInterfaceId = text(vendorInterfaceId_, "VENDORINTERFACEID");
  r.sourceOfBooking = text(sourceOfBooking_, "SOURCEOFBOOKING");
  r.resDate = date(resDate_);
  r.rescardNo = text(rescardNo_, "RESCARDNO");
  r.insideAgentId = text(insideAgentId_, "IAINTERFACEID");
  r.outsideAgentId = text(outsideAgentId_, "OIAINTERFACEID");
  r.destination = text(destination_, "DESTINATION");
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
  p.ckccNo = ReadText(q, ckccNo_, "CKCCNO", p.lossy);
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

TSegmentRow TSegmentReader::Read(const TQuery& q, const std::string& where) const {
  TSegmentRow s;
  auto text = [&](int col, const char* name) { return ReadText(q, col, name, s.lossy); };
  s.segmentNo = q.Field(segmentNo_).AsInteger();
  s.indexNo = text(indexNo_, "INDEXNO");
  s.airline = text(airline_, "AIRLINE");
  s.flightNo = text(flightNo_, "FLIGHTNO");
  s.connection = text(connection_, "CONNECTION");
  s.departCity = text(departCity_, "DEPARTCITY");
  s.arriveCity = text(arriveCity_, "ARRIVECITY");
  s.departDateTime = q.Field(departDateTime_).AsDateTime();
  s.arriveDateTime = q.Field(arriveDateTime_).AsDateTime();
  s.fareBasis = text(fareBasis_, "FAREBASIS");
  s.fare = ReadAmount(q, fare_, "FARE", where);
  s.classOfSvc = text(classOfSvc_, "CLASSOFSVC");
  return s;
}

TUdidReader::TUdidReader(const TQuery& q) : udidNo_(q.FieldIndex("UDIDNO")), udid_(q.FieldIndex("UDID")) {}

TUdidRow TUdidReader::Read(const TQuery& q) const {
  TUdidRow u;
  u.udidNo = ReadText(q, udidNo_, "UDIDNO", u.lossy);
  u.udid = ReadText(q, udid_, "UDID", u.lossy);
  return u;
}

}  // namespace iex::db
