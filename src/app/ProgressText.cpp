#include "app/ProgressText.h"

#include <cstdio>

namespace iex {
namespace {

const char* PhaseText(TExportPhase phase) {
  switch (phase) {
    case TExportPhase::Starting: return "Starting";
    case TExportPhase::Counting: return "Counting invoices";
    case TExportPhase::ReadingProfiles: return "Reading profiles";
    case TExportPhase::WritingAccounts: return "Writing accounts";
    case TExportPhase::ReadingInvoices: return "Reading invoices";
    case TExportPhase::WritingInvoices: return "Writing invoices";
    case TExportPhase::Committing: return "Putting the files in place";
    case TExportPhase::Done: return "Export Done.";
    case TExportPhase::Stopped: return "Stopped: the previous files are unchanged";
    case TExportPhase::Failed: return "Failed: the previous files are unchanged";
  }
  return "";
}

}  // namespace

std::string Counted(long n, const char* singular, const char* plural) {
  return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

TProgressDisplay DescribeProgress(const TExportProgress& p) {
  TProgressDisplay d;
  d.phase = PhaseText(p.phase);
  const bool accounts = p.unit == TProgressUnit::Accounts;
  const bool working = p.phase == TExportPhase::ReadingProfiles || p.phase == TExportPhase::WritingAccounts ||
                       p.phase == TExportPhase::ReadingInvoices || p.phase == TExportPhase::WritingInvoices;
  if (working) {
    d.statusText = accounts ? "Exporting Profile No:" : "Exporting Invoice No:";
    d.statusNumber = p.number;
  }
  if (accounts)
    d.count = Counted(p.done, "account line", "account lines");
  else if (p.unit == TProgressUnit::Invoices)
    d.count = p.total >= 0 ? std::to_string(p.done) + " of " + Counted(p.total, "invoice", "invoices")
                           : Counted(p.done, "invoice", "invoices");
  const bool known = p.unit == TProgressUnit::Invoices && p.total >= 0;
  const bool ended = p.phase == TExportPhase::Done || p.phase == TExportPhase::Stopped || p.phase == TExportPhase::Failed;
  // Until invoices are being written against a known total, the length is
  // unknown: a moving bar says the run is alive.
  d.busy = !ended && !(p.phase == TExportPhase::WritingInvoices && known);
  if (known) {
    d.maximum = p.total;
    d.value = p.done < p.total ? p.done : p.total;
  }
  if (p.phase == TExportPhase::Done) d.maximum = d.value = p.done > 0 ? p.done : 1;
  return d;
}

std::string PhaseWithClock(const std::string& phase, double elapsedSeconds) {
  const int seconds = static_cast<int>(elapsedSeconds);
  char clock[32];
  std::snprintf(clock, sizeof clock, "  %d:%02d", seconds / 60, seconds % 60);
  return phase + clock;
}

}  // namespace iex
