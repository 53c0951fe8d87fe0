#include <optional>
#include <utility>

#include "db/ExportRowSources.h"
#include "db/OnePassQueries.h"
#include "db/RowReaders.h"

namespace iex::db {
namespace {

// (invoice number, booking number) as the engine orders them: NULL before
// every value. No value stands for NULL, so odd keys (0, negative) merge too.
using TKeyPart = std::optional<int32_t>;
using TBookingKey = std::pair<TKeyPart, TKeyPart>;

TKeyPart KeyPart(const TField& f) { return f.IsNull() ? TKeyPart() : TKeyPart(f.AsInteger()); }

// A cursor over one kind of detail row, ordered by booking key, read
// alongside the booking rows.
class TDetailCursor {
 public:
  explicit TDetailCursor(TTransaction& tr) : q_(tr) {}
  void Open(const SqlLines& sql) {
    q_.SetSQL(sql);
    q_.ExecQuery();
    invoice_ = q_.FieldIndex("INVOICENO");
    booking_ = q_.FieldIndex("BOOKINGNO");
  }
  // Calls take(query) for each row of the booking; skips rows of bookings
  // the booking rows left out.
  template <typename Take>
  void Collect(const TBookingKey& key, Take take) {
    for (; !q_.Eof(); q_.Next()) {
      const TBookingKey here{KeyPart(q_.Field(invoice_)), KeyPart(q_.Field(booking_))};
      if (key < here) return;
      if (here == key) take(q_);
    }
  }
  TQuery& Query() { return q_; }
  void Close() noexcept { q_.Close(); }

 private:
  TQuery q_;
  int invoice_ = 0, booking_ = 0;
};

class TOnePassRows final : public TExportRowSource {
 public:
  explicit TOnePassRows(TTransaction& tr) : profiles_(tr), bookings_(tr), payments_(tr), segments_(tr), udids_(tr) {}
  ~TOnePassRows() override { Close(); }

  void OpenProfiles(const TInvoiceFilter& filter) override {
    profiles_.SetSQL(OnePassProfileLines(filter));
    profiles_.ExecQuery();
    profileReader_.emplace(profiles_);
  }

  bool NextProfile(TProfileRow& row) override {
    if (profiles_.Eof()) return false;
    profileReader_->Read(profiles_, row);
    profiles_.Next();
    return true;
  }

  void OpenBookings(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt) override {
    profiles_.Close();
    bookings_.SetSQL(OnePassBookingLines(filter, newDestTable));
    bookings_.ExecQuery();
    bookingReader_.emplace(bookings_, newDestTable);
    invoiceColumn_ = bookings_.FieldIndex("INVOICENO");
    bookingColumn_ = bookings_.FieldIndex("BOOKINGNO");
    payments_.Open(OnePassPaymentLines(filter, isCCEncrypt));
    paymentReader_.emplace(payments_.Query(), isCCEncrypt);
    segments_.Open(OnePassSegmentLines(filter));
    segmentReader_.emplace(segments_.Query());
    udids_.Open(OnePassUdidLines(filter));
    udidReader_.emplace(udids_.Query());
  }

  bool NextBooking(TBookingRecord& r) override {
    if (bookings_.Eof()) return false;
    const TBookingKey key = KeyHere();
    bookingReader_->Read(bookings_, r);
    // A reference table with two rows for one key (no primary key) repeats
    // the booking: the first row stands for it, as one group of rows would.
    do bookings_.Next();
    while (!bookings_.Eof() && KeyHere() == key);
    r.payments.clear();
    r.segments.clear();
    r.udids.clear();
    const std::string where = "invoice " + r.invoiceNumber;
    payments_.Collect(key, [&](const TQuery& q) { r.payments.push_back(paymentReader_->Read(q)); });
    segments_.Collect(key, [&](const TQuery& q) { r.segments.push_back(segmentReader_->Read(q, where)); });
    udids_.Collect(key, [&](const TQuery& q) { r.udids.push_back(udidReader_->Read(q)); });
    return true;
  }

  void Close() noexcept override {
    profiles_.Close();
    bookings_.Close();
    payments_.Close();
    segments_.Close();
    udids_.Close();
  }

 private:
  TBookingKey KeyHere() const {
    return {KeyPart(bookings_.Field(invoiceColumn_)), KeyPart(bookings_.Field(bookingColumn_))};
  }

  TQuery profiles_, bookings_;
  TDetailCursor payments_, segments_, udids_;
  int invoiceColumn_ = 0, bookingColumn_ = 0;
  std::optional<TProfileReader> profileReader_;
  std::optional<TBookingReader> bookingReader_;
  std::optional<TPaymentReader> paymentReader_;
  std::optional<TSegmentReader> segmentReader_;
  std::optional<TUdidReader> udidReader_;
};

}  // namespace

std::unique_ptr<TExportRowSource> MakeOnePassRows(TTransaction& trExport) { return std::make_unique<TOnePassRows>(trExport); }

}  // namespace iex::db
