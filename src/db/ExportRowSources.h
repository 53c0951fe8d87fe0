#pragma once
#include <memory>

#include "db/Transaction.h"
#include "db/Window.h"
#include "export/ExportRows.h"

namespace iex::db {

// The rows of an export read in the export transaction a window of
// invoices at a time, each table by the keys the window needs.
// A smaller window limit (tests) makes more, smaller windows.
std::unique_ptr<TExportRowSource> MakeWindowedRows(TTransaction& trExport, std::size_t windowLimit = TWindow::kDefaultLimit);

}  // namespace iex::db
