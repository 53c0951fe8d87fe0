#include "db/ProfileWindows.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "db/ExportQueries.h"
#include "db/Query.h"
#include "db/Relation.h"
#include "db/ValueReads.h"

namespace iex::db {
namespace {

// A profile's own columns with its categories and addresses of type 1, in
// the order of all of them: the first row of a profile is its account's.
TRelation ProfileRows() {
  return {"PROFILE P LEFT JOIN PROFILETRVLCAT T ON T.PROFILE_LINKNO = P.PROFILENO "
          "LEFT JOIN ADDRINSTANCE AI ON AI.PROFILE_LINKNO = P.PROFILENO AND ADDRTYPE_LINKNO = 1 "
          "LEFT JOIN ADDRESS A ON A.ADDRESSNO = AI.ADDRESS_LINKNO",
          "P.PROFILENO",
          "P.PROFILENO, P.PROFILETYPE_LINKCODE, P.NAME, P.INTERFACEID, P.RATE1, T.TRAVELCATEGORY_LINKNO, A.ADDRESS1, "
          "A.ADDRESS2, A.CITY, A.STATE, A.ZIP, A.COUNTRY",
          "P.PROFILETYPE_LINKCODE, P.NAME, P.INTERFACEID, P.RATE1, T.TRAVELCATEGORY_LINKNO, A.ADDRESS1, A.ADDRESS2, "
          "A.CITY, A.STATE, A.ZIP, A.COUNTRY",
          false, ""};
}

// The communication entries of one kind, lowest value first. Kind 2 says
// which entries are business phones (a description starting with B) as the
// engine compares: 0 for those.
TRelation CommRows(int kind) {
  return {"PROFILE P LEFT JOIN ProfilePassengerComm(P.PROFILENO, " + std::to_string(kind) + ") C ON 1=1", "P.PROFILENO",
          kind == 2 ? "P.PROFILENO, C.COMMVALUE, CASE WHEN C.DESCRIPTION LIKE 'B%' THEN 0 ELSE 1 END"
                    : "P.PROFILENO, C.COMMVALUE",
          "C.COMMVALUE", false, ""};
}

}  // namespace

struct TProfileWindows::State {
  explicit State(TTransaction& tr)
      : keys(tr), profiles(tr, ProfileRows()), emails(tr, CommRows(3)), phones(tr, CommRows(2)), faxes(tr, CommRows(1)) {}
  TQuery keys;
  TRelationReader profiles, emails, phones, faxes;
  bool noProfile = false;  // the row without a profile is still to come
  TWindow window;
  TKeySet windowKeys;
  std::vector<TProfileRow> ready;
  std::size_t next = 0;

  bool ReadWindow();
  // Calls take(row, index in `ready`) for the first row of each profile of the window.
  template <typename Take>
  void Firsts(TRelationReader& reader, Take take) {
    std::optional<int32_t> last;
    std::size_t at = 0;
    reader.Read(windowKeys, window, false, [&](const TQuery& q) {
      const int32_t key = q.Field(0).AsInteger();
      if (key == last) return;
      last = key;
      while (at < window.keys.size() && window.keys[at] < key) ++at;
      if (at < window.keys.size() && window.keys[at] == key) take(q, ready[at]);
    });
  }
};

TProfileWindows::TProfileWindows(TTransaction& tr, std::size_t windowLimit) : s_(std::make_unique<State>(tr)) {
  s_->window.limit = windowLimit;
}
TProfileWindows::~TProfileWindows() { Close(); }

void TProfileWindows::Open(const TInvoiceFilter& filter) {
  State& s = *s_;
  // The numbers the invoices and their bookings name, each with its profile
  // when there is one: those without come first.
  SqlLines lines{"SELECT P.PROFILENO FROM (SELECT I.CLIENT_LINKNO PNO FROM INVOICE I"};
  AddFilters(lines, filter);
  lines.push_back("UNION SELECT B.VENDOR_LINKNO FROM INVOICE I LEFT JOIN BOOKING B ON B.INVOICE_LINKNO = I.INVOICENO");
  AddFilters(lines, filter);
  lines.push_back(") X LEFT JOIN PROFILE P ON P.PROFILENO = X.PNO ORDER BY 1");
  s.keys.SetSQL(lines);
  s.ready.clear();
  s.next = 0;
  s.keys.ExecQuery();
  s.noProfile = false;
  while (!s.keys.Eof() && s.keys.Field(0).IsNull()) {
    s.noProfile = true;
    s.keys.Next();
  }
}

bool TProfileWindows::Next(TProfileRow& row) {
  State& s = *s_;
  if (s.noProfile) {
    s.noProfile = false;
    row = TProfileRow{};
    row.noProfile = true;
    return true;
  }
  while (s.next == s.ready.size())
    if (!s.ReadWindow()) return false;
  std::swap(row, s.ready[s.next++]);
  return true;
}

bool TProfileWindows::State::ReadWindow() {
  ready.clear();
  next = 0;
  if (!CutWindow(
          window, [&]() -> std::optional<int32_t> { return keys.Eof() ? std::nullopt : std::optional(keys.Field(0).AsInteger()); },
          [&] { keys.Next(); }))
    return false;
  windowKeys.Clear();
  for (const int32_t key : window.keys) windowKeys.Add(key);
  ready.resize(window.keys.size());
  Firsts(profiles, [](const TQuery& q, TProfileRow& r) {
    auto text = [&](int col, const char* name) { return ReadText(q, col, name, r.lossy); };
    r.profileNo = q.Field(0).AsInteger();
    r.profileType = text(1, "PROFILETYPE_LINKCODE");
    r.name = text(2, "NAME");
    r.interfaceId = text(3, "INTERFACEID");
    r.rate1 = ReadAmount(q, 4, "RATE1", "profile " + std::to_string(r.profileNo));
    r.travelCategory = q.Field(5).AsInteger();
    r.address1 = text(6, "ADDRESS1");
    r.address2 = text(7, "ADDRESS2");
    r.city = text(8, "CITY");
    r.state = text(9, "STATE");
    r.zip = text(10, "ZIP");
    r.country = text(11, "COUNTRY");
  });
  Firsts(emails, [](const TQuery& q, TProfileRow& r) { r.email = ReadText(q, 1, "EMAIL", r.lossy); });
  Firsts(faxes, [](const TQuery& q, TProfileRow& r) { r.fax = ReadText(q, 1, "FAX", r.lossy); });
  // The lowest phone of any description, and the lowest business phone.
  std::vector<bool> phoneSeen(ready.size());
  std::optional<int32_t> lastBusiness;
  phones.Read(windowKeys, window, false, [&](const TQuery& q) {
    const int32_t key = q.Field(0).AsInteger();
    const auto at = std::lower_bound(window.keys.begin(), window.keys.end(), key);
    if (at == window.keys.end() || *at != key) return;
    const auto index = static_cast<std::size_t>(at - window.keys.begin());
    TProfileRow& r = ready[index];
    if (!phoneSeen[index]) {
      phoneSeen[index] = true;
      r.phone = ReadText(q, 1, "PHONE", r.lossy);
    }
    if (key != lastBusiness && q.Field(2).AsInteger() == 0) {
      lastBusiness = key;
      r.busPhone = ReadText(q, 1, "BUSPHONE", r.lossy);
    }
  });
  return true;
}

void TProfileWindows::Close() noexcept {
  s_->keys.Close();
  for (TRelationReader* r : {&s_->profiles, &s_->emails, &s_->phones, &s_->faxes}) r->Close();
}

}  // namespace iex::db
