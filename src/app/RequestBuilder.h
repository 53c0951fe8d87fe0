#pragma once
#include <cstdint>
#include <string>

#include "export/ExportRequest.h"
#include "export/ExportSettings.h"
#include "util/StringGrid.h"

namespace iex {

// The settings a run takes: the request's filters, mapping and letters, and
// the travel-type letters of the grid. The window and the command line both
// build them here.
ExportSettings SettingsForRun(const TExportRequest& request, const TStringGrid& travelTypes);

// An invoice number given as text (the command line): digits only, 0 for
// none, within the range the window's field takes and with its message.
int64_t InvoiceNumberFromText(const std::string& text);

}  // namespace iex
