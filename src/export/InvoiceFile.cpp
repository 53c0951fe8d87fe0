#include <set>

#include "export/BookingLine.h"
#include "export/DetailLines.h"
#include "export/ExportContext.h"
#include "export/LineWriter.h"
#include "export/RevenueTypes.h"

namespace iex {

void ExportInvoices(TExportContext& ctx) {
  TLineWriter out = ctx.output.Create("IMPINV.DAT");
  db::TQuery& q = ctx.dm.sqlInvoiceExp;
  ctx.dm.PrepareInvoiceQuery(ctx.Filter(), ctx.IsCCEncrypt);
  ctx.dm.PrepareUdids();
  TStringIntList cardLookup;
  ctx.dm.CacheCCLookUp(cardLookup);
  ctx.view.SetStatusText("Exporting Invoice No:");
  ctx.view.ProcessMessages();

  int32_t lastBooking = -1;
  std::string reference;
  // A booking's segments repeat once per payment detail; each is written once.
  std::set<int32_t> segmentsWritten;
  auto closeGroup = [&] {
    ctx.summary.udidLines += WriteUdidLines(out, ctx.dm.sqlUDIDs, lastBooking);
    if (WritePaymentRefLine(out, reference)) ++ctx.summary.paymentRefLines;
  };
  {
    TWriterStatusScope status(ctx, q);
    q.ExecQuery();
    const InvoiceColumns c(q, ctx.dm.NewDestTable, ctx.IsCCEncrypt);
    for (; !q.Eof(); q.Next()) {
      ctx.CheckStop();
      const int32_t booking = q.Field(c.BOOKINGNO).AsInteger();
      if (booking != lastBooking) {
        if (lastBooking != -1) closeGroup();
        ctx.view.SetStatusNumber(q.Field(c.INVOICENUMBER).AsString());
        ctx.view.ProcessMessages();
        const TPaymentFields payment =
            PaymentFields(PaymentText(q, c, ctx), q.Field(c.PAYMETHOD_LINKNO).AsInteger(), cardLookup);
        reference = payment.reference;
        segmentsWritten.clear();
        WriteBookingLine(out, q, c, ctx, payment);
        ++ctx.summary.bookingLines;
      }
      const int32_t segment = q.Field(c.SEGMENTNO).AsInteger();
      if (segment > 0 && GetDefaultRevenueType(q.Field(c.TRAVELCATEGORY_LINKNO).AsInteger()) == "A" &&
          segmentsWritten.insert(segment).second) {
        WriteSegmentLine(out, q, c, ctx.regional);
        ++ctx.summary.segmentLines;
      }
      lastBooking = booking;
    }
    closeGroup();
  }
  out.Close();
}

}  // namespace iex
