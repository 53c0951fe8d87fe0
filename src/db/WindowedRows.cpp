#include <algorithm>

#include "db/BookingWindows.h"
#include "db/ExportRowSources.h"
#include "db/ProfileWindows.h"

namespace iex::db {
namespace {

class TWindowedRows final : public TExportRowSource {
 public:
  TWindowedRows(TTransaction& tr, std::size_t windowLimit) : profiles_(tr, windowLimit), bookings_(tr, windowLimit) {}
  ~TWindowedRows() override { Close(); }

  void OpenProfiles(const TInvoiceFilter& filter) override { profiles_.Open(filter); }
  bool NextProfile(TProfileRow& row) override { return profiles_.Next(row); }
  void OpenBookings(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt) override {
    profiles_.Close();
    bookings_.Open(filter, newDestTable, isCCEncrypt);
  }
  bool NextBooking(TBookingRecord& record) override { return bookings_.Next(record); }
  void Close() noexcept override {
    profiles_.Close();
    bookings_.Close();
  }

 private:
  TProfileWindows profiles_;
  TBookingWindows bookings_;
};

}  // namespace

std::unique_ptr<TExportRowSource> MakeWindowedRows(TTransaction& trExport, std::size_t windowLimit) {
  return std::make_unique<TWindowedRows>(trExport, std::max(windowLimit, TWindow::kMaxList));
}

}  // namespace iex::db
