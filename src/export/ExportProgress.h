#pragma once
#include <string>

namespace iex {

// Where a run stands. A front end renders these; it never reads status texts.
enum class TExportPhase {
  Starting,          // before the first query
  Counting,          // counting the invoices the run will write
  ReadingProfiles,   // the profile query is running: length unknown
  WritingAccounts,   // done = account lines written
  ReadingInvoices,   // the booking query is running: length unknown
  WritingInvoices,   // done = invoices written, total = invoices to write
  Committing,        // putting both files in place
  Done,              // both files in place; done == total
  Stopped,           // stopped by the user or a signal; the previous files are unchanged
  Failed,            // ended by an error; the previous files are unchanged
};

enum class TProgressUnit { None, Accounts, Invoices };

struct TExportProgress {
  TExportPhase phase = TExportPhase::Starting;
  TProgressUnit unit = TProgressUnit::None;
  long done = 0;
  long total = -1;     // -1: not known
  std::string number;  // the profile or invoice number written last
};

}  // namespace iex
