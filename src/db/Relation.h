#pragma once
#include <functional>
#include <string>

#include "db/Query.h"
#include "db/Window.h"

namespace iex::db {

// Binds a window's keys to a statement that names them as its condition
// does: ":LO" and ":HI" for a range, ":K0".. for a list.
void BindWindow(TQuery& q, const TWindow& window);

// A table the export reads by a key, as SQL pieces: its rows by key range,
// by a list of keys, or through the links from the window's invoices or
// their bookings. Every shape reads one table, or follows links with LEFT
// JOIN from the window's rows, so the engine's plan never depends on its
// index statistics: the key or link index is the only way it has.
struct TRelation {
  std::string table;    // "RESCARDRESERVATION R"
  std::string key;      // "R.RESERVATIONNO"
  std::string columns;  // the select list, the key among them
  std::string order;    // more order after the key ("S.INDEXNO, S.SEGMENTNO"), or ""
  bool fromInvoices;    // links start at INVOICE I, otherwise at BOOKING B
  std::string links;    // the LEFT JOINs from there to the table
  // Tables read along when the links are followed, which would otherwise
  // be followed again from the start: their columns after ours, their joins.
  std::string riderColumns = {}, riderLinks = {};
};

// Reads a relation's rows for a set of keys. The rows come in key order
// (then `order`) within each statement; a range or the links may give rows
// of keys not asked for, which the caller does not look up.
class TRelationReader {
 public:
  TRelationReader(TTransaction& tr, TRelation relation);
  // Calls `row` for each row, and `rider` too when the links were followed
  // (the riders' columns are then in the row). Says which way it read.
  using TRowFn = std::function<void(const TQuery&)>;
  TFetchWay Read(const TKeySet& keys, const TWindow& window, bool linksAllowed, const TRowFn& row,
                 const TRowFn& rider = {});
  void Close() noexcept;

 private:
  void Run(TQuery& q, const TRowFn& row, const TRowFn& rider = {});
  TQuery& Prepared(TQuery& q, const std::string& where);

  TRelation r_;
  TQuery range_, list_, linkedRange_, linkedList_;
};

}  // namespace iex::db
