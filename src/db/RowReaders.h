#pragma once
#include "export/ExportRows.h"
#include "db/Query.h"

namespace iex::db {

// Read the export's typed rows from a query by column name, so any query
// that names its columns as the export queries do can feed the writers.
// Column positions are looked up once, when the reader is made.

class TProfileReader {
 public:
  explicit TProfileReader(const TQuery& q);
  void Read(const TQuery& q, TProfileRow& row) const;

 private:
  int no_, type_, name_, interfaceId_, rate1_, category_, address1_, address2_, city_, state_, zip_, country_, email_,
      busPhone_, fax_, phone_;
};

// The invoice's and the booking's values; the destination column follows the schema version.
class TBookingReader {
 public:
  TBookingReader(const TQuery& q, bool newDestTable);
  void Read(const TQuery& q, TBookingRecord& record) const;  // leaves the lists alone

 private:
  int invoiceNo_, branch_, invoiceNumber_, issueDate_, invoiceType_, recordLocator_, invoiceGroup_, payStatus_,
      clientType_, clientInterfaceId_, bookingNo_, submitTo_, passengerName_, calcBaseFare_, commRate_, commAmt_,
      startingTicketNo_, confirmNo_, departDate_, returnDate_, eticketInd_, endingTicketNo_, interCode_, highFare_,
      lowFare_, tax1_, tax2_, tax3_, tax4_, travelTypeNo_, travelCategory_, travelType_, airlineNo_, vendorName_,
      vendorInterfaceId_, sourceOfBooking_, resDate_, rescardNo_, insideAgentId_, outsideAgentId_, destination_;
};

class TPaymentReader {
 public:
  TPaymentReader(const TQuery& q, bool isCCEncrypt);
  TPaymentRow Read(const TQuery& q) const;

 private:
  int paymentNo_ = -1, payMethod_, ckccNo_, ckccNoEncrypt_ = -1;
};

class TSegmentReader {
 public:
  explicit TSegmentReader(const TQuery& q);
  // `where` names the invoice in errors: "invoice 1234".
  TSegmentRow Read(const TQuery& q, const std::string& where) const;

 private:
  int segmentNo_, indexNo_, airline_, flightNo_, connection_, departCity_, arriveCity_, departDateTime_,
      arriveDateTime_, fareBasis_, fare_, classOfSvc_;
};

class TUdidReader {
 public:
  explicit TUdidReader(const TQuery& q);
  TUdidRow Read(const TQuery& q) const;

 private:
  int udidNo_, udid_;
};

}  // namespace iex::db
