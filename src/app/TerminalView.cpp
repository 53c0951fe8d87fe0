#include "app/TerminalView.h"

#include "platform/Codepage1252.h"

namespace iex {

TTerminalView::TTerminalView(std::FILE* err, bool live)
    : err_(err), live_(live), start_(std::chrono::steady_clock::now()), lastDraw_(start_) {}

void TTerminalView::SetStatusText(const std::string& text) {
  if (text == "Exporting Invoice No:") invoices_ = true;
}

void TTerminalView::SetStatusNumber(const std::string& text) {
  if (text.empty()) return;
  if (invoices_)
    ++bookings_;
  else
    ++profiles_;
}

void TTerminalView::ProcessMessages() {
  if (!live_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastDraw_ < std::chrono::milliseconds(200)) return;
  lastDraw_ = now;
  Draw();
}

void TTerminalView::Draw() {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double rate = seconds > 0 ? (profiles_ + bookings_) / seconds : 0;
  std::fprintf(err_, "\r%ld profiles, %ld bookings written (%.0f/s)   ", profiles_, bookings_, rate);
  std::fflush(err_);
  drawn_ = true;
}

void TTerminalView::Finish() {
  if (!drawn_) return;
  Draw();
  std::fputc('\n', err_);
  drawn_ = false;
}

void TTerminalView::ShowError(const std::string& text) {
  Finish();
  std::fprintf(err_, "%s\n", Cp1252ToUtf8(text).c_str());
}

}  // namespace iex
