#pragma once
#include "db/ExportQueries.h"

namespace iex::db {

// The export's statements shaped for one pass over the data: each table read
// once in order, with no row multiplied by another table's rows. They give
// the same rows, in the same order, as the profile and invoice queries.

// The distinct client and vendor profile numbers first; each profile's data
// and communication entries joined once per profile.
SqlLines OnePassProfileLines(const TInvoiceFilter& filter);
// One row per booking, ordered by invoice and booking number.
SqlLines OnePassBookingLines(const TInvoiceFilter& filter, bool newDestTable);
// Each booking's payment details, segments and UDIDs, ordered by invoice and
// booking number first, so they merge with the booking rows.
SqlLines OnePassPaymentLines(const TInvoiceFilter& filter, bool isCCEncrypt);
SqlLines OnePassSegmentLines(const TInvoiceFilter& filter);
SqlLines OnePassUdidLines(const TInvoiceFilter& filter);

}  // namespace iex::db
