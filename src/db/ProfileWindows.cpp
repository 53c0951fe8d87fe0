#include "db/ProfileWindows.h"

#include <optional>
#include <vector>

#include "db/ExportQueries.h"
#include "db/Query.h"
#include "db/RowReaders.h"
#include "db/Window.h"

namespace iex::db {

struct TProfileWindows::State {
  explicit State(TTransaction& tr) : keys(tr), range(tr), list(tr) {}
  TQuery keys, range, list;
  std::optional<TProfileReader> reader;
  bool noProfile = false;  // the row without a profile is still to come
  TWindow window;
  std::vector<TProfileRow> ready;
  std::size_t next = 0;

  bool ReadWindow();
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
  const std::string select = std::string("SELECT ") + kProfileColumns;
  const std::string from = std::string("FROM PROFILE P ") + kProfileJoins;
  s.range.SetSQL({select, from, "WHERE P.PROFILENO BETWEEN :LO AND :HI", kProfileOrder});
  s.list.SetSQL({select, from, "WHERE P.PROFILENO IN (" + ListParams(TWindow::kMaxList) + ")", kProfileOrder});
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
  row = std::move(s.ready[s.next++]);
  return true;
}

bool TProfileWindows::State::ReadWindow() {
  ready.clear();
  next = 0;
  if (!CutWindow(
          window, [&]() -> std::optional<int32_t> { return keys.Eof() ? std::nullopt : std::optional(keys.Field(0).AsInteger()); },
          [&] { keys.Next(); }))
    return false;
  TQuery& q = window.list ? list : range;
  if (window.list) {
    for (std::size_t i = 0; i < TWindow::kMaxList; ++i)
      q.SetParamInteger(ListParamName(i), window.keys[std::min(i, window.keys.size() - 1)]);
  } else {
    q.SetParamInteger("LO", window.lo);
    q.SetParamInteger("HI", window.hi);
  }
  q.ExecQuery();
  if (!reader) reader.emplace(q);
  // Rows come by profile, its first row first: that one is the account's.
  std::optional<int32_t> last;
  for (; !q.Eof(); q.Next()) {
    const int32_t key = q.Field(0).AsInteger();
    if (key == last || !window.Holds(key)) continue;
    last = key;
    reader->Read(q, ready.emplace_back());
  }
  q.Close();
  return true;
}

void TProfileWindows::Close() noexcept {
  s_->keys.Close();
  s_->range.Close();
  s_->list.Close();
}

}  // namespace iex::db
