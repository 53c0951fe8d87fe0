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
  query_.Close();
}

namespace {

struct ProfileColumns {
  int PROFILENO, PROFILETYPE_LINKCODE, NAME, INTERFACEID, RATE1, TRAVELCATEGORY_LINKNO, ADDRESS1, ADDRESS2, CITY,
      STATE, ZIP, COUNTRY, EMAIL, BUSPHONE, FAX, PHONE;

  explicit ProfileColumns(const db::TQuery& q)
      : PROFILENO(q.FieldIndex("PROFILENO")),
        PROFILETYPE_LINKCODE(q.FieldIndex("PROFILETYPE_LINKCODE")),
        NAME(q.FieldIndex("NAME")),
        INTERFACEID(q.FieldIndex("INTERFACEID")),
        RATE1(q.FieldIndex("RATE1")),
        TRAVELCATEGORY_LINKNO(q.FieldIndex("TRAVELCATEGORY_LINKNO")),
        ADDRESS1(q.FieldIndex("ADDRESS1")),
        ADDRESS2(q.FieldIndex("ADDRESS2")),
        CITY(q.FieldIndex("CITY")),
        STATE(q.FieldIndex("STATE")),
        ZIP(q.FieldIndex("ZIP")),
        COUNTRY(q.FieldIndex("COUNTRY")),
        EMAIL(q.FieldIndex("EMAIL")),
        BUSPHONE(q.FieldIndex("BUSPHONE")),
        FAX(q.FieldIndex("FAX")),
        PHONE(q.FieldIndex("PHONE")) {}
};

void WriteAccountLine(TLineWriter& out, const db::TQuery& q, const ProfileColumns& c, char decimalSeparator) {
  auto text = [&](int col) { return q.Field(col).AsString(); };
  const bool vendor = text(c.PROFILETYPE_LINKCODE) == "V";
  const std::string interfaceId = text(c.INTERFACEID);
  const std::string name = text(c.NAME);
  auto phone = [&](int col) { return MaxChars(CleanPhone(text(col)), 15); };
  out.Field(MaxChars(interfaceId, 10))
      .Field(vendor ? "P" : "C")
      .Field(vendor ? GetDefaultRevenueType(q.Field(c.TRAVELCATEGORY_LINKNO).AsInteger()) : "P")
      .Field(MaxChars(name, 30))
      .Field(vendor ? interfaceId : "")
      .Field(GetFirstWord(name))
      .Empty()
      .Field(MaxChars(text(c.ADDRESS1), 30))
      .Field(MaxChars(text(c.ADDRESS2), 30))
      .Field(MaxChars(text(c.CITY), 15))
      .Field(MaxChars(text(c.STATE), 2))
      .Field(MaxChars(text(c.ZIP), 10))
      .Field(MaxChars(text(c.COUNTRY), 20))
      .Field(MaxChars(text(c.EMAIL), 50))
      .Field(phone(vendor ? c.PHONE : c.BUSPHONE))
      .Field(phone(c.FAX))
      .Field(vendor ? "" : phone(c.PHONE));
  const int32_t rate = q.Field(c.RATE1).AsInteger();
  out.Field(vendor && rate >= 1 ? AmountText(rate, decimalSeparator) : "").Empty(3);
  out.EndLine();
}

}  // namespace

void ExportProfiles(TExportContext& ctx) {
  TLineWriter out = ctx.output.Create("IMPACCT.DAT");
  db::TQuery& q = ctx.dm.sqlProfileExp;
  ctx.dm.PrepareProfileQuery(ctx.Filter());
  ctx.view.SetStatusText("Exporting Profile No:");
  ctx.view.ProcessMessages();
  {
    TWriterStatusScope status(ctx, q);
    q.ExecQuery();
    const ProfileColumns columns(q);
    int32_t last = -1;
    for (; !q.Eof(); q.Next()) {
      ctx.CheckStop();
      const int32_t profile = q.Field(columns.PROFILENO).AsInteger();
      if (profile != last) {
        ctx.view.SetStatusNumber(std::to_string(profile));
        ctx.view.ProcessMessages();
        WriteAccountLine(out, q, columns, ctx.regional.decimalSeparator);
        ++ctx.summary.accountLines;
      }
      last = profile;
    }
  }
  out.Close();
}

}  // namespace iex
