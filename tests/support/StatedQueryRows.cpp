#include <optional>
#include <utility>

#include "StatedQueries.h"
#include "db/RowReaders.h"

namespace iex::db {
namespace {

// The statements as the system states them: one invoice row per payment
// detail and segment, grouped here into bookings; UDIDs asked per booking.
class TStatedQueryRows final : public TExportRowSource {
 public:
  explicit TStatedQueryRows(TTransaction& tr) : profiles_(tr), invoices_(tr), udids_(tr) {}
  ~TStatedQueryRows() override { Close(); }

  void OpenProfiles(const TInvoiceFilter& filter) override {
    profiles_.SetSQL(ProfileQueryLines(filter));
    profiles_.ExecQuery();
    profileReader_.emplace(profiles_);
  }

  bool NextProfile(TProfileRow& row) override {
    TQuery& q = profiles_;
    if (q.Eof()) return false;
    profileReader_->Read(q, row);
    q.Next();
    return true;
  }

  void OpenBookings(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt) override {
    profiles_.Close();
    invoices_.SetSQL(InvoiceQueryLines(filter, newDestTable, isCCEncrypt));
    udids_.SetSQL(UdidQueryLines());
    invoices_.ExecQuery();
    TQuery& q = invoices_;
    bookingReader_.emplace(q, newDestTable);
    paymentReader_.emplace(q, isCCEncrypt);
    segmentReader_.emplace(q);
    bookingColumn_ = q.FieldIndex("BOOKINGNO");
  }

  // A group is a run of adjacent rows of one booking; the booking line and
  // the payment come from its first row. Segments repeat once per payment
  // detail; the writer keeps the first of each.
  bool NextBooking(TBookingRecord& r) override {
    TQuery& q = invoices_;
    if (q.Eof()) return false;
    bookingReader_->Read(q, r);
    r.payments.assign(1, paymentReader_->Read(q));
    r.segments.clear();
    r.udids.clear();
    for (; !q.Eof() && q.Field(bookingColumn_).AsInteger() == r.bookingNo; q.Next()) {
      TSegmentRow s = segmentReader_->Read(q, "invoice " + r.invoiceNumber);
      if (s.segmentNo != 0) r.segments.push_back(std::move(s));
    }
    TQuery& u = udids_;
    u.SetParamInteger("BOOKING_LINKNO", r.bookingNo);
    u.ExecQuery();
    const TUdidReader udids(u);
    for (; !u.Eof(); u.Next()) r.udids.push_back(udids.Read(u));
    u.Close();
    return true;
  }

  void Close() noexcept override {
    profiles_.Close();
    invoices_.Close();
    udids_.Close();
  }

 private:
  TQuery profiles_, invoices_, udids_;
  int bookingColumn_ = 0;
  std::optional<TProfileReader> profileReader_;
  std::optional<TBookingReader> bookingReader_;
  std::optional<TPaymentReader> paymentReader_;
  std::optional<TSegmentReader> segmentReader_;
};

}  // namespace

std::unique_ptr<TExportRowSource> MakeStatedQueryRows(TTransaction& trExport) {
  return std::make_unique<TStatedQueryRows>(trExport);
}

}  // namespace iex::db
