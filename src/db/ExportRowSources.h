#pragma once
#include <memory>

#include "db/Transaction.h"
#include "export/ExportRows.h"

namespace iex::db {

// The rows of an export read in the export transaction by statements shaped
// for one pass over the data.
std::unique_ptr<TExportRowSource> MakeOnePassRows(TTransaction& trExport);

}  // namespace iex::db
