#pragma once
#include "export/ExportRows.h"

namespace iex {

// Closes a row source's cursors when a writer ends, also by an error.
class TRowsClosed {
 public:
  explicit TRowsClosed(TExportRowSource& rows) : rows_(rows) {}
  ~TRowsClosed() { rows_.Close(); }
  TRowsClosed(const TRowsClosed&) = delete;
  TRowsClosed& operator=(const TRowsClosed&) = delete;

 private:
  TExportRowSource& rows_;
};

}  // namespace iex
