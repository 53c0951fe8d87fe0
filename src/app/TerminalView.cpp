#include "app/TerminalView.h"

#include "app/ProgressText.h"

namespace iex {

TTerminalView::TTerminalView(std::FILE* err, bool live)
    : err_(err), live_(live), start_(std::chrono::steady_clock::now()), lastDraw_(start_) {}

void TTerminalView::ShowProgress(const TExportProgress& progress) {
  const bool phaseChanged = progress.phase != last_.phase;
  last_.phase = progress.phase;
  last_.unit = progress.unit;
  last_.done = progress.done;
  last_.total = progress.total;
  if (!live_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!phaseChanged && now - lastDraw_ < std::chrono::milliseconds(200)) return;
  lastDraw_ = now;
  Draw();
}

void TTerminalView::Draw() {
  const int seconds = static_cast<int>(std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count());
  const TProgressDisplay d = DescribeProgress(last_);
  std::fprintf(err_, "\r\033[K%s%s%s  %d:%02d", d.phase.c_str(), d.count.empty() ? "" : ": ", d.count.c_str(), seconds / 60,
               seconds % 60);
  std::fflush(err_);
  drawn_ = true;
}

void TTerminalView::Finish() {
  if (!drawn_) return;
  Draw();
  std::fputc('\n', err_);
  drawn_ = false;
}

}  // namespace iex
