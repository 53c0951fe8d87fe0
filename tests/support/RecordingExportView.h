#pragma once
#include <functional>
#include <string>
#include <vector>

#include "export/ExportView.h"

namespace iex::test {

// Records what the export run shows; answers the folder chooser as told.
class RecordingExportView : public TExportView {
 public:
  std::vector<std::string> statusTexts, errors;
  long statusNumbers = 0;
  bool exportEnabled = true;
  int chooserShown = 0;
  std::string chooserStart;
  bool chooserAnswer = true;
  std::string chooserFolder;  // empty: OK with the start folder
  std::function<void(long)> onStatusNumber;

  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  void SetStatusNumber(const std::string& text) override {
    if (text.empty()) return;
    ++statusNumbers;
    if (onStatusNumber) onStatusNumber(statusNumbers);
  }
  void ProcessMessages() override {}
  void EnableExport(bool enabled) override { exportEnabled = enabled; }
  bool ChooseFolder(const std::string& start, std::string& chosen) override {
    ++chooserShown;
    chooserStart = start;
    chosen = chooserFolder.empty() ? start : chooserFolder;
    return chooserAnswer;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
};

}  // namespace iex::test
