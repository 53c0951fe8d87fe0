#pragma once
#include <memory>

#include "db/ExportQueries.h"
#include "db/Transaction.h"
#include "export/ExportRows.h"

namespace iex::db {

// The export's statements as the system states them, kept beside the
// program as the reference its own row paths are compared with: the
// profile query, one invoice row per payment detail and segment, and the
// UDIDs asked per booking.
extern const char* const kInvoiceOrder;
SqlLines ProfileQueryLines(const TInvoiceFilter& filter);
SqlLines InvoiceQueryLines(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt);
SqlLines UdidQueryLines();

std::unique_ptr<TExportRowSource> MakeStatedQueryRows(TTransaction& trExport);

}  // namespace iex::db
