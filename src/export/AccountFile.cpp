#include "export/ExportContext.h"
#include "export/LineWriter.h"
#include "export/RevenueTypes.h"
#include "export/ValueFormats.h"
#include "platform/Error.h"

namespace iex {

TWriterStatusScope::~TWriterStatusScope() {
  try {
    ctx_.view.SetStatusText("");
    ctx_.view.SetStatusNumber("");
    ctx_.view.ProcessMessages();
  } catch (...) {
  }
  ctx_.rows.Close();
}

namespace {

void WriteAccountLine(TLineWriter& out, const db::TProfileRow& p, char decimalSeparator) {
  const bool vendor = p.profileType == "V";
  auto phone = [&](const std::string& value) { return MaxChars(CleanPhone(value), 15); };
  out.Field(MaxChars(p.interfaceId, 10))
      .Field(vendor ? "P" : "C")
      .Field(vendor ? GetDefaultRevenueType(p.travelCategory) : "P")
      .Field(MaxChars(p.name, 30))
      .Field(vendor ? p.interfaceId : "")
      .Field(GetFirstWord(p.name))
      .Empty()
      .Field(MaxChars(p.address1, 30))
      .Field(MaxChars(p.address2, 30))
      .Field(MaxChars(p.city, 15))
      .Field(MaxChars(p.state, 2))
      .Field(MaxChars(p.zip, 10))
      .Field(MaxChars(p.country, 20))
      .Field(MaxChars(p.email, 50))
      .Field(phone(vendor ? p.phone : p.busPhone))
      .Field(phone(p.fax))
      .Field(vendor ? "" : phone(p.phone));
  out.Field(vendor && p.rate1 >= 1 ? AmountText(p.rate1, decimalSeparator) : "").Empty(3);
  out.EndLine();
}

}  // namespace

void ExportProfiles(TExportContext& ctx) {
  TLineWriter out = ctx.output.Create("IMPACCT.DAT");
  ctx.view.SetStatusText("Exporting Profile No:");
  ctx.view.ProcessMessages();
  {
    TWriterStatusScope status(ctx);
    ctx.rows.OpenProfiles(ctx.Filter());
    db::TProfileRow row;
    int32_t last = -1;
    // One line per run of rows of one profile, from the first.
    while (ctx.rows.NextProfile(row)) {
      ctx.CheckStop();
      if (row.profileNo != last) {
        ctx.view.SetStatusNumber(std::to_string(row.profileNo));
        ctx.view.ProcessMessages();
        WriteAccountLine(out, row, ctx.regional.decimalSeparator);
        ++ctx.summary.accountLines;
      }
      last = row.profileNo;
    }
  }
  out.Close();
}

}  // namespace iex
