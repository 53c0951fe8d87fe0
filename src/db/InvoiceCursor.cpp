#include "db/InvoiceCursor.h"

#include "db/ExportQueries.h"
#include "db/ValueReads.h"

namespace iex::db {

void TInvoiceCursor::Open(const TInvoiceFilter& filter) {
  SqlLines lines{
      "SELECT I.INVOICENO, I.BRANCH_LINKNO, I.INVOICENUMBER, I.ISSUEDATE, I.INVOICETYPE_LINKCODE, I.CLIENT_LINKNO, "
      "I.FIRSTINSIDEAGENTBKG_LINKNO, I.FIRSTOUTSIDEAGENTBKG_LINKNO, I.RECORDLOCATOR, I.INVOICEGROUP, I.PAYSTATUS_LINKCODE",
      "FROM INVOICE I"};
  AddFilters(lines, filter);
  lines.push_back("ORDER BY I.INVOICENO");
  q_.SetSQL(lines);
  q_.ExecQuery();
  invoiceNo_ = q_.FieldIndex("INVOICENO");
  branch_ = q_.FieldIndex("BRANCH_LINKNO");
  number_ = q_.FieldIndex("INVOICENUMBER");
  issueDate_ = q_.FieldIndex("ISSUEDATE");
  type_ = q_.FieldIndex("INVOICETYPE_LINKCODE");
  client_ = q_.FieldIndex("CLIENT_LINKNO");
  inside_ = q_.FieldIndex("FIRSTINSIDEAGENTBKG_LINKNO");
  outside_ = q_.FieldIndex("FIRSTOUTSIDEAGENTBKG_LINKNO");
  locator_ = q_.FieldIndex("RECORDLOCATOR");
  group_ = q_.FieldIndex("INVOICEGROUP");
  payStatus_ = q_.FieldIndex("PAYSTATUS_LINKCODE");
}

void TInvoiceCursor::Read(TInvoicePart& r) const {
  r.lossy.clear();
  auto text = [&](int col, const char* name) { return ReadText(q_, col, name, r.lossy); };
  r.invoiceNo = q_.Field(invoiceNo_).AsInteger();
  r.branch = text(branch_, "BRANCH_LINKNO");
  r.invoiceNumber = text(number_, "INVOICENUMBER");
  r.issueDate = q_.Field(issueDate_).AsDateTime();
  r.invoiceType = text(type_, "INVOICETYPE_LINKCODE");
  r.recordLocator = text(locator_, "RECORDLOCATOR");
  r.invoiceGroup = text(group_, "INVOICEGROUP");
  r.payStatus = text(payStatus_, "PAYSTATUS_LINKCODE");
  r.client = ReadKey(q_, client_);
  r.insideAgentBkg = ReadKey(q_, inside_);
  r.outsideAgentBkg = ReadKey(q_, outside_);
}

bool TInvoiceCursor::Next(std::vector<TInvoicePart>& invoices, TWindow& window) {
  invoices.clear();
  return CutWindow(
      window, [&]() -> std::optional<int32_t> { return q_.Eof() ? std::nullopt : std::optional(q_.Field(invoiceNo_).AsInteger()); },
      [&] {
        // The first row of a repeated key stands for the invoice.
        const int32_t key = q_.Field(invoiceNo_).AsInteger();
        if (invoices.empty() || key != invoices.back().invoiceNo) Read(invoices.emplace_back());
        q_.Next();
      });
}

}  // namespace iex::db
