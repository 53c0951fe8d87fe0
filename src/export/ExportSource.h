#pragma once
#include <string>

#include "export/ExportRows.h"
#include "util/StringGrid.h"

namespace iex {

// The agency database's schema version: its text, and whether destinations
// come from the destination table (versions above 79).
struct TSchemaVersion {
  std::string text;
  bool newDestTable = false;
};

// The card-number settings rows: the key text (row 47) and the switch that
// says card numbers are stored enciphered (row 48, any text).
struct TCardSettings {
  std::string keyText;
  std::string encryptSwitch;
};

// What an export needs of a database, and all it may ask of one. The
// database module implements it; tests hand in rows of their own.
class TExportSource {
 public:
  virtual ~TExportSource() = default;
  // Reference lookups, each in a short transaction of its own.
  virtual TSchemaVersion SchemaVersion() = 0;
  virtual TCardSettings CardSettings() = 0;
  virtual TStringIntList CardTypes() = 0;  // (code, first two digits)
  // The number of invoices the filters select that have at least one booking
  // line to write, for a progress display.
  virtual long CountInvoices(const TInvoiceFilter& filter) = 0;

  // The export transaction: both files are read inside one.
  virtual void BeginExport() = 0;
  virtual void CommitExport() = 0;
  virtual void RollbackExport() noexcept = 0;  // also when the connection is gone
  virtual bool ExportActive() const = 0;
  virtual TExportRowSource& Rows() = 0;  // valid while the export transaction is

  // From any thread: ends a statement that is running, so a stop does not
  // wait for a query to give its first row.
  virtual void Cancel() noexcept = 0;
};

}  // namespace iex
