#include <set>

#include "export/BookingLine.h"
#include "export/DetailLines.h"
#include "export/ExportContext.h"
#include "export/LineWriter.h"
#include "export/RevenueTypes.h"

namespace iex {

void TExportSummary::CountInvoice(const std::string& number, double issueDate) {
  ++invoices;
  // Invoice numbers compare as numbers when they are; shorter first, then by digits.
  auto less = [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  };
  if (firstInvoiceNumber.empty() || less(number, firstInvoiceNumber)) firstInvoiceNumber = number;
  if (lastInvoiceNumber.empty() || less(lastInvoiceNumber, number)) lastInvoiceNumber = number;
  if (issueDate != 0 && (firstIssueDate == 0 || issueDate < firstIssueDate)) firstIssueDate = issueDate;
  if (issueDate > lastIssueDate) lastIssueDate = issueDate;
}

void ExportInvoices(TExportContext& ctx) {
  TLineWriter out = ctx.output.Create("IMPINV.DAT");
  TStringIntList cardLookup;
  ctx.dm.CacheCCLookUp(cardLookup);
  ctx.view.SetStatusText("Exporting Invoice No:");
  ctx.view.ProcessMessages();
  {
    TWriterStatusScope status(ctx);
    ctx.rows.OpenBookings(ctx.Filter(), ctx.dm.NewDestTable, ctx.IsCCEncrypt);
    db::TBookingRecord b;
    const db::TPaymentRow noPayment;
    std::set<int32_t> segmentsWritten;
    int32_t lastInvoice = -1;
    while (ctx.rows.NextBooking(b)) {
      ctx.CheckStop();
      if (b.invoiceNo != lastInvoice) ctx.summary.CountInvoice(b.invoiceNumber, b.issueDate);
      lastInvoice = b.invoiceNo;
      ctx.view.SetStatusNumber(b.invoiceNumber);
      ctx.view.ProcessMessages();
      // The booking line shows the payment detail with the lowest number.
      const db::TPaymentRow& first = b.payments.empty() ? noPayment : b.payments.front();
      const TPaymentFields payment = PaymentFields(PaymentText(first, ctx), first.payMethod, cardLookup);
      WriteBookingLine(out, b, ctx, payment, first.payMethod);
      ++ctx.summary.bookingLines;
      if (GetDefaultRevenueType(b.travelCategory) == "A") {
        segmentsWritten.clear();
        for (const db::TSegmentRow& s : b.segments) {
          if (s.segmentNo <= 0 || !segmentsWritten.insert(s.segmentNo).second) continue;
          WriteSegmentLine(out, s, ctx.regional);
          ++ctx.summary.segmentLines;
        }
      }
      ctx.summary.udidLines += WriteUdidLines(out, b.udids);
      if (WritePaymentRefLine(out, payment.reference)) ++ctx.summary.paymentRefLines;
    }
  }
  out.Close();
}

}  // namespace iex
