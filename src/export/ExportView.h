#pragma once
#include <string>

#include "export/ExportProgress.h"

namespace iex {

// What the export run needs of whoever shows it: the window or the command line.
class TExportView {
 public:
  virtual ~TExportView() = default;
  // Called at every change of phase and for every record written; the view
  // decides how often to draw. May be called from the run's thread.
  virtual void ShowProgress(const TExportProgress& progress) = 0;
  virtual void EnableExport(bool enabled) = 0;
  // Shows the folder chooser seeded with startFolder; false on Cancel.
  // Both folders are paths in UTF-8.
  virtual bool ChooseFolder(const std::string& startFolder, std::string& chosen) = 0;
};

}  // namespace iex
