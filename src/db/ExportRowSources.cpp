#include "db/ExportRowSources.h"

namespace iex::db {

std::unique_ptr<TExportRowSource> MakeExportRows(TdmMain& dm, TRowPath path) {
  return path == TRowPath::StatedQueries ? MakeStatedQueryRows(dm) : MakeOnePassRows(dm);
}

}  // namespace iex::db
