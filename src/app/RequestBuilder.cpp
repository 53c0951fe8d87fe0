#include "app/RequestBuilder.h"

#include "app/TravelTypeGrid.h"
#include "platform/Error.h"
#include "util/FillTemplate.h"
#include "util/NumberText.h"

namespace iex {

ExportSettings SettingsForRun(const TExportRequest& request, const TStringGrid& travelTypes) {
  ExportSettings s;
  ApplyRequest(request, s);
  TravelTypeLettersFromGrid(travelTypes, s);
  return s;
}

int64_t InvoiceNumberFromText(const std::string& text) {
  if (text.empty()) return 0;
  // "1e5" or "-5" would otherwise read as other numbers than meant.
  if (text.find_first_not_of("0123456789") != std::string::npos) throw EMvError("Invalid Number. Please enter again.");
  const std::string digits = text.substr(std::min(text.find_first_not_of('0'), text.size()));
  if (digits.size() > 15 || (digits.size() == 15 && digits > CompToText(kMaxInvoiceNumber)))
    throw EMvError(FillTemplate("Invalid Number.  Number must be in range %1 .. %2", "0\t" + CompToText(kMaxInvoiceNumber)));
  return digits.empty() ? 0 : TextToComp(digits);
}

}  // namespace iex
