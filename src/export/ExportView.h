#pragma once
#include <string>

namespace iex {

// What the export run needs of whoever shows it: the window or the command line.
class TExportView {
 public:
  virtual ~TExportView() = default;
  virtual void SetStatusText(const std::string& text) = 0;    // lStatus
  virtual void SetStatusNumber(const std::string& text) = 0;  // lStatusNo
  virtual void ProcessMessages() = 0;                         // let pending events run
  virtual void EnableExport(bool enabled) = 0;
  // Shows the folder chooser seeded with startFolder; false on Cancel.
  virtual bool ChooseFolder(const std::string& startFolder, std::string& chosen) = 0;
  virtual void ShowError(const std::string& text) = 0;  // error box, OK button
};

}  // namespace iex
