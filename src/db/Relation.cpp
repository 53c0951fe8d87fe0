#include "db/Relation.h"

#include <algorithm>

namespace iex::db {

void BindWindow(TQuery& q, const TWindow& window) {
  if (window.list) {
    // A short list repeats its last key.
    for (std::size_t i = 0; i < TWindow::kMaxList; ++i)
      q.SetParamInteger(ListParamName(i), window.keys[std::min(i, window.keys.size() - 1)]);
  } else {
    q.SetParamInteger("LO", window.lo);
    q.SetParamInteger("HI", window.hi);
  }
}

TRelationReader::TRelationReader(TTransaction& tr, TRelation relation)
    : r_(std::move(relation)), range_(tr), list_(tr), linkedRange_(tr), linkedList_(tr) {}

TQuery& TRelationReader::Prepared(TQuery& q, const std::string& where) {
  if (!q.SQLLines().empty()) return q;
  const bool linked = &q == &linkedRange_ || &q == &linkedList_;
  const std::string from = linked ? (r_.fromInvoices ? "FROM INVOICE I " : "FROM BOOKING B ") + r_.links + " " + r_.riderLinks
                                  : "FROM " + r_.table;
  const std::string columns = linked && !r_.riderColumns.empty() ? r_.columns + ", " + r_.riderColumns : r_.columns;
  std::string order = "ORDER BY " + r_.key;
  if (!r_.order.empty()) order += ", " + r_.order;
  // The links give NULL rows for rows without a match; those are not rows of the table.
  const std::string present = linked ? " AND " + r_.key + " IS NOT NULL" : "";
  q.SetSQL({"SELECT " + columns, from, "WHERE " + where + present, order});
  return q;
}

TFetchWay TRelationReader::Read(const TKeySet& keys, const TWindow& window, bool linksAllowed, const TRowFn& row,
                               const TRowFn& rider) {
  if (keys.Empty()) return TFetchWay::Range;
  const std::vector<int32_t>& k = keys.Keys();
  const std::string windowColumn = r_.fromInvoices ? "I.INVOICENO" : "B.INVOICE_LINKNO";
  const TFetchWay way = keys.Way(linksAllowed);
  switch (way) {
    case TFetchWay::Range: {
      TQuery& q = Prepared(range_, r_.key + " BETWEEN :LO AND :HI");
      q.SetParamInteger("LO", k.front());
      q.SetParamInteger("HI", k.back());
      Run(q, row);
      break;
    }
    case TFetchWay::List: {
      TQuery& q = Prepared(list_, r_.key + " IN (" + ListParams(TWindow::kMaxList) + ")");
      for (std::size_t first = 0; first < k.size(); first += TWindow::kMaxList) {
        // A short last list repeats its last key.
        for (std::size_t i = 0; i < TWindow::kMaxList; ++i)
          q.SetParamInteger(ListParamName(i), k[std::min(first + i, k.size() - 1)]);
        Run(q, row);
      }
      break;
    }
    case TFetchWay::Links: {
      TQuery& q = window.list ? Prepared(linkedList_, windowColumn + " IN (" + ListParams(TWindow::kMaxList) + ")")
                              : Prepared(linkedRange_, windowColumn + " BETWEEN :LO AND :HI");
      BindWindow(q, window);
      Run(q, row, rider);
      break;
    }
  }
  return way;
}

void TRelationReader::Run(TQuery& q, const TRowFn& row, const TRowFn& rider) {
  q.ExecQuery();
  for (; !q.Eof(); q.Next()) {
    row(q);
    if (rider) rider(q);
  }
  q.Close();
}

void TRelationReader::Close() noexcept {
  range_.Close();
  list_.Close();
  linkedRange_.Close();
  linkedList_.Close();
}

}  // namespace iex::db
