#pragma once
#include <functional>
#include <string>
#include <vector>

#include "export/ExportView.h"

namespace iex::test {

// Records what the export run shows; answers the folder chooser as told.
class RecordingExportView : public TExportView {
 public:
  std::vector<TExportPhase> phases;  // each change of phase, in order
  TExportProgress last;
  long recordsShown = 0;  // account lines and invoices written, as the run reported them
  bool exportEnabled = true;
  int chooserShown = 0;
  std::string chooserStart;
  bool chooserAnswer = true;
  std::string chooserFolder;  // empty: OK with the start folder
  std::function<void(long)> onRecord;  // called with recordsShown

  void ShowProgress(const TExportProgress& p) override {
    if (phases.empty() || phases.back() != p.phase) phases.push_back(p.phase);
    const bool record = (p.phase == TExportPhase::WritingAccounts || p.phase == TExportPhase::WritingInvoices) &&
                        !p.number.empty();
    last = p;
    if (!record) return;
    ++recordsShown;
    if (onRecord) onRecord(recordsShown);
  }
  void EnableExport(bool enabled) override { exportEnabled = enabled; }
  bool ChooseFolder(const std::string& start, std::string& chosen) override {
    ++chooserShown;
    chooserStart = start;
    chosen = chooserFolder.empty() ? start : chooserFolder;
    return chooserAnswer;
  }
};

}  // namespace iex::test
