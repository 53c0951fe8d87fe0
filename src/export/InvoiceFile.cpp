#include <set>

#include "export/BookingLayout.h"
#include "export/DetailLayouts.h"
#include "export/ExportContext.h"
#include "export/PaymentText.h"
#include "export/RevenueTypes.h"
#include "export/RowsClosed.h"

namespace iex {
namespace {

// The booking's own lossy columns and those of the payment its line shows.
const TLossyColumns& BookingLossy(const TBookingRecord& b, const TPaymentRow& payment, TLossyColumns& both) {
  if (payment.lossy.empty()) return b.lossy;
  both = b.lossy;
  both.insert(both.end(), payment.lossy.begin(), payment.lossy.end());
  return both;
}

}  // namespace

void ExportInvoices(TExportContext& ctx) {
  TLineWriter out = ctx.output.Create("IMPINV.DAT");
  const TStringIntList cardTypes = ctx.source.CardTypes();
  ctx.Show(TExportPhase::ReadingInvoices, TProgressUnit::Invoices, 0, ctx.invoicesToWrite);
  TExportRowSource& rows = ctx.source.Rows();
  TExportSummary& summary = ctx.summary;
  {
    const TRowsClosed closed(rows);
    rows.OpenBookings(ctx.Filter(), ctx.newDestTable, ctx.isCCEncrypt);
    TBookingRecord b;
    const TPaymentRow noPayment;
    TLossyColumns lossy;
    std::set<int32_t> segmentsWritten;
    int32_t lastInvoice = 0;
    bool first = true;
    while (rows.NextBooking(b)) {
      ctx.CheckStop();
      if (first || b.invoiceNo != lastInvoice) summary.CountInvoice(b.invoiceNumber, b.issueDate);
      lastInvoice = b.invoiceNo;
      first = false;
      // The booking line shows the payment detail with the lowest number.
      const TPaymentRow& payment = b.payments.empty() ? noPayment : b.payments.front();
      const TPaymentFields fields = PaymentFields(PaymentText(payment, ctx), payment.payMethod, cardTypes);
      WriteRecord(out, BookingLayout(), TBookingLine{b, fields, payment.payMethod, ctx.settings}, ctx.style,
                  BookingLossy(b, payment, lossy), summary.losses);
      ++summary.bookingLines;
      if (GetDefaultRevenueType(b.travelCategory) == "A") {
        segmentsWritten.clear();
        for (const TSegmentRow& s : b.segments) {
          if (s.segmentNo <= 0 || !segmentsWritten.insert(s.segmentNo).second) continue;
          WriteRecord(out, SegmentLayout(), s, ctx.style, s.lossy, summary.losses);
          ++summary.segmentLines;
        }
      }
      for (const TUdidRow& u : b.udids) {
        WriteRecord(out, UdidLayout(), u, ctx.style, u.lossy, summary.losses);
        ++summary.udidLines;
      }
      if (!fields.reference.empty()) {
        WriteRecord(out, PaymentRefLayout(), fields.reference, ctx.style, payment.lossy, summary.losses);
        ++summary.paymentRefLines;
      }
      ctx.Show(TExportPhase::WritingInvoices, TProgressUnit::Invoices, summary.invoices, ctx.invoicesToWrite,
               b.invoiceNumber);
    }
  }
  out.Close();
}

}  // namespace iex
