#include <optional>
#include <utility>

#include "db/ExportRowSources.h"
#include "db/RowReaders.h"

namespace iex::db {
namespace {

// The statements as the system states them: one invoice row per payment
// detail and segment, grouped here into bookings; UDIDs asked per booking.
class TStatedQueryRows final : public TExportRowSource {
 public:
  explicit TStatedQueryRows(TdmMain& dm) : dm_(dm) {}
  ~TStatedQueryRows() override { Close(); }

  void OpenProfiles(const TInvoiceFilter& filter) override {
    dm_.PrepareProfileQuery(filter);
    dm_.sqlProfileExp.ExecQuery();
    profileReader_.emplace(dm_.sqlProfileExp);
  }

  bool NextProfile(TProfileRow& row) override {
    TQuery& q = dm_.sqlProfileExp;
    if (q.Eof()) return false;
    profileReader_->Read(q, row);
    q.Next();
    return true;
  }

  void OpenBookings(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt) override {
    dm_.sqlProfileExp.Close();
    dm_.PrepareInvoiceQuery(filter, isCCEncrypt);
    dm_.PrepareUdids();
    dm_.sqlInvoiceExp.ExecQuery();
    TQuery& q = dm_.sqlInvoiceExp;
    bookingReader_.emplace(q, newDestTable);
    paymentReader_.emplace(q, isCCEncrypt);
    segmentReader_.emplace(q);
    bookingColumn_ = q.FieldIndex("BOOKINGNO");
  }

  // A group is a run of adjacent rows of one booking; the booking line and
  // the payment come from its first row. Segments repeat once per payment
  // detail; the writer keeps the first of each.
  bool NextBooking(TBookingRecord& r) override {
    TQuery& q = dm_.sqlInvoiceExp;
    if (q.Eof()) return false;
    bookingReader_->Read(q, r);
    r.payments.assign(1, paymentReader_->Read(q));
    r.segments.clear();
    r.udids.clear();
    for (; !q.Eof() && q.Field(bookingColumn_).AsInteger() == r.bookingNo; q.Next()) {
      TSegmentRow s = segmentReader_->Read(q);
      if (s.segmentNo != 0) r.segments.push_back(std::move(s));
    }
    TQuery& u = dm_.sqlUDIDs;
    u.SetParamInteger("BOOKING_LINKNO", r.bookingNo);
    u.ExecQuery();
    const TUdidReader udids(u);
    for (; !u.Eof(); u.Next()) r.udids.push_back(udids.Read(u));
    u.Close();
    return true;
  }

  void Close() noexcept override {
    dm_.sqlProfileExp.Close();
    dm_.sqlInvoiceExp.Close();
    dm_.sqlUDIDs.Close();
  }

 private:
  TdmMain& dm_;
  int bookingColumn_ = 0;
  std::optional<TProfileReader> profileReader_;
  std::optional<TBookingReader> bookingReader_;
  std::optional<TPaymentReader> paymentReader_;
  std::optional<TSegmentReader> segmentReader_;
};

}  // namespace

std::unique_ptr<TExportRowSource> MakeStatedQueryRows(TdmMain& dm) { return std::make_unique<TStatedQueryRows>(dm); }

}  // namespace iex::db
