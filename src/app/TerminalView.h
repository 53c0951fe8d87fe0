#pragma once
#include <chrono>
#include <cstdio>
#include <string>

#include "export/ExportView.h"

namespace iex {

// The export's view on a terminal: a live progress line on standard error
// when that is a terminal.
class TTerminalView : public TExportView {
 public:
  explicit TTerminalView(std::FILE* err, bool live);
  void ShowProgress(const TExportProgress& progress) override;
  void EnableExport(bool) override {}
  bool ChooseFolder(const std::string&, std::string&) override { return false; }
  void Finish();  // ends the progress line

 private:
  void Draw();
  std::FILE* err_;
  bool live_;
  TExportProgress last_;
  std::chrono::steady_clock::time_point start_, lastDraw_;
  bool drawn_ = false;
};

}  // namespace iex
