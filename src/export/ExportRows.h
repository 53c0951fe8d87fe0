#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/InvoiceFilter.h"

namespace iex {

// What the file writers read, as a source hands it over: typed rows, every
// value already read the way the writers use it (NULL as "", 0 or date 0),
// texts in the files' 8-bit code page and amounts in hundredths.

// The columns of a row whose text held characters the files' code page
// cannot hold ("?" stands in their place); almost always empty.
using TLossyColumns = std::vector<const char*>;

// One row of a profile (a profile with several categories, addresses or
// communication entries has several, first the one its account line shows).
struct TProfileRow {
  bool noProfile = false;  // the row of invoices and bookings that name no profile (or one that is gone)
  int32_t profileNo = 0;
  std::string profileType, name, interfaceId;
  int32_t rate1 = 0, travelCategory = 0;
  std::string address1, address2, city, state, zip, country;
  std::string email, busPhone, fax, phone;
  TLossyColumns lossy;
};

struct TPaymentRow {
  int32_t paymentNo = 0;
  int32_t payMethod = 0;
  std::string ckccNo;
  std::string ckccNoEncrypt;  // the enciphered bytes, when the run reads them
  TLossyColumns lossy;
};

struct TSegmentRow {
  int32_t segmentNo = 0;
  std::string indexNo, airline, flightNo, connection, departCity, arriveCity;
  double departDateTime = 0, arriveDateTime = 0;
  std::string fareBasis;
  int32_t fare = 0;
  std::string classOfSvc;
  TLossyColumns lossy;
};

struct TUdidRow {
  std::string udidNo, udid;
  TLossyColumns lossy;
};

// One booking of a selected invoice, with the invoice's and the booking's
// values and its payment details, segments and UDIDs in file order.
struct TBookingRecord {
  int32_t invoiceNo = 0, bookingNo = 0;
  std::string branch, invoiceNumber;
  double issueDate = 0;
  std::string invoiceType, recordLocator, invoiceGroup, payStatus, clientType, clientInterfaceId;
  std::string submitTo, passengerName;
  int32_t calcBaseFare = 0, commRate = 0, commAmt = 0;
  std::string startingTicketNo, confirmNo;
  double departDate = 0, returnDate = 0;
  std::optional<int32_t> eticketInd;   // none: not a whole number
  std::optional<int64_t> ticketRange;  // ending minus starting ticket; none: not whole numbers
  std::string interCode;
  int32_t highFare = 0, lowFare = 0, tax1 = 0, tax2 = 0, tax3 = 0, tax4 = 0;
  int32_t travelTypeNo = 0, travelCategory = 0;
  std::string travelType, airlineNo, vendorName, vendorInterfaceId, sourceOfBooking;
  double resDate = 0;
  std::string rescardNo, insideAgentId, outsideAgentId, destination;
  TLossyColumns lossy;

  std::vector<TPaymentRow> payments;  // by payment number, details without a payment last
  std::vector<TSegmentRow> segments;  // each once, in itinerary order
  std::vector<TUdidRow> udids;        // by UDID number
};

// The rows of one export, read inside the export transaction. The account
// file reads the profiles, then the invoice file the bookings.
class TExportRowSource {
 public:
  virtual ~TExportRowSource() = default;
  virtual void OpenProfiles(const TInvoiceFilter& filter) = 0;
  virtual bool NextProfile(TProfileRow& row) = 0;
  virtual void OpenBookings(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt) = 0;
  virtual bool NextBooking(TBookingRecord& record) = 0;
  virtual void Close() noexcept = 0;  // ends every open cursor; also after errors
};

}  // namespace iex
