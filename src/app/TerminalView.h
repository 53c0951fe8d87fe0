#pragma once
#include <chrono>
#include <cstdio>
#include <string>

#include "export/ExportView.h"

namespace iex {

// The export's view on a terminal: a live progress line on standard error
// when that is a terminal, errors as text.
class TTerminalView : public TExportView {
 public:
  explicit TTerminalView(std::FILE* err, bool live);
  void SetStatusText(const std::string& text) override;
  void SetStatusNumber(const std::string& text) override;
  void ProcessMessages() override;
  void EnableExport(bool) override {}
  bool ChooseFolder(const std::string&, std::string&) override { return false; }
  void ShowError(const std::string& text) override;
  void Finish();  // ends the progress line

 private:
  void Draw();
  std::FILE* err_;
  bool live_;
  bool invoices_ = false;
  long profiles_ = 0, bookings_ = 0;
  std::chrono::steady_clock::time_point start_, lastDraw_;
  bool drawn_ = false;
};

}  // namespace iex
