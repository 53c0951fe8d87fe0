#pragma once
#include <memory>

#include "db/DataModule.h"
#include "db/ExportRows.h"

namespace iex::db {

enum class TRowPath {
  OnePass,      // the statements shaped for one pass over the data
  StatedQueries,  // the profile, invoice and per-booking UDID queries as the system states them
};

// The rows of an export in the data module's export transaction.
std::unique_ptr<TExportRowSource> MakeExportRows(TdmMain& dm, TRowPath path);
std::unique_ptr<TExportRowSource> MakeOnePassRows(TdmMain& dm);
std::unique_ptr<TExportRowSource> MakeStatedQueryRows(TdmMain& dm);

}  // namespace iex::db
