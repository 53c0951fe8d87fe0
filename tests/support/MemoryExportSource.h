#pragma once
#include <functional>
#include <string>
#include <vector>

#include "export/ExportSource.h"
#include "platform/Error.h"

namespace iex::test {

// An export source held in memory: the rows, lookups and settings a test
// gives, and a record of the transaction calls. The filter is not applied.
class MemoryExportSource final : public TExportSource, private TExportRowSource {
 public:
  std::vector<TProfileRow> profiles;
  std::vector<TBookingRecord> bookings;
  TSchemaVersion schema{"85", true};
  TCardSettings cardSettings;
  TStringIntList cardTypes;
  long invoiceCount = -1;  // what CountInvoices answers; -1: the distinct invoices of `bookings`
  // Called before each row is handed out (profiles, then bookings, counted
  // from 1); may throw, as a database error would.
  std::function<void(long row)> beforeRow;
  std::function<void()> onCommit;  // when the export transaction commits

  int begun = 0, committed = 0, rolledBack = 0, cancelled = 0;
  bool newDestTableAsked = false, encryptedAsked = false;

  TSchemaVersion SchemaVersion() override { return schema; }
  TCardSettings CardSettings() override { return cardSettings; }
  TStringIntList CardTypes() override { return cardTypes; }
  long CountInvoices(const TInvoiceFilter&) override {
    if (invoiceCount >= 0) return invoiceCount;
    long n = 0;
    for (std::size_t i = 0; i < bookings.size(); ++i)
      if (i == 0 || bookings[i].invoiceNo != bookings[i - 1].invoiceNo) ++n;
    return n;
  }
  void BeginExport() override {
    if (active_) throw EMvError("The export transaction is already active.");
    active_ = true;
    ++begun;
  }
  void CommitExport() override {
    active_ = false;
    ++committed;
    if (onCommit) onCommit();
  }
  void RollbackExport() noexcept override {
    active_ = false;
    ++rolledBack;
  }
  bool ExportActive() const override { return active_; }
  TExportRowSource& Rows() override {
    if (!active_) throw EMvError("The export transaction is not active.");
    return *this;
  }
  void Cancel() noexcept override { ++cancelled; }

 private:
  void OpenProfiles(const TInvoiceFilter&) override {
    next_ = 0;
    rowsHanded_ = 0;
  }
  bool NextProfile(TProfileRow& row) override {
    if (next_ >= profiles.size()) return false;
    Before();
    row = profiles[next_++];
    return true;
  }
  void OpenBookings(const TInvoiceFilter&, bool newDestTable, bool isCCEncrypt) override {
    next_ = 0;
    newDestTableAsked = newDestTable;
    encryptedAsked = isCCEncrypt;
  }
  bool NextBooking(TBookingRecord& record) override {
    if (next_ >= bookings.size()) return false;
    Before();
    record = bookings[next_++];
    return true;
  }
  void Close() noexcept override {}
  void Before() {
    ++rowsHanded_;
    if (beforeRow) beforeRow(rowsHanded_);
  }

  bool active_ = false;
  std::size_t next_ = 0;
  long rowsHanded_ = 0;
};

// A small agency of `invoices` invoices, each with two bookings, one
// client and one vendor profile each: rows a writer can be run over.
inline void FillAgency(MemoryExportSource& s, int invoices) {
  for (int i = 1; i <= invoices; ++i) {
    TProfileRow client;
    client.profileNo = 2 * i;
    client.profileType = "C";
    client.name = "Client " + std::to_string(i);
    client.interfaceId = "C" + std::to_string(i);
    s.profiles.push_back(client);
    TProfileRow vendor = client;
    vendor.profileNo = 2 * i + 1;
    vendor.profileType = "V";
    vendor.name = "Vendor Air " + std::to_string(i);
    vendor.travelCategory = 1;
    s.profiles.push_back(vendor);
    for (int k = 1; k <= 2; ++k) {
      TBookingRecord b;
      b.invoiceNo = i;
      b.bookingNo = 10 * i + k;
      b.branch = "7";
      b.invoiceNumber = std::to_string(1000 + i);
      b.issueDate = 45000 + i;
      b.clientInterfaceId = client.interfaceId;
      b.passengerName = "SMITH/JOHN MR";
      b.calcBaseFare = 12345;
      b.travelCategory = 1;
      b.travelTypeNo = 1;
      b.vendorName = vendor.name;
      b.vendorInterfaceId = vendor.interfaceId;
      TPaymentRow cash;
      cash.paymentNo = 100 * i + k;
      cash.payMethod = 2;
      cash.ckccNo = "004512";
      b.payments.push_back(cash);
      TSegmentRow seg;
      seg.segmentNo = 100 * i + k;
      seg.indexNo = "1";
      seg.airline = "LH";
      b.segments.push_back(seg);
      b.udids.push_back({"1", "PROJECT " + std::to_string(i), {}});
      s.bookings.push_back(b);
    }
  }
}

}  // namespace iex::test
