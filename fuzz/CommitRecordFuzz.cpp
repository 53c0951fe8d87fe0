// The commit record a crashed run leaves is read back by the next one, and a
// user (or another program) may have planted anything under its name: the
// parser must take any bytes, accept only records of this program whose
// names stay inside the folder, and read back what it would write.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "export/CommitRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  iex::TCommitRecord record;
  if (!iex::TCommitRecord::Parse(text, record)) return 0;
  for (const iex::TCommitEntry& e : record.entries)
    for (const std::string* name : {&e.name, &e.temp, &e.previous})
      if (name->empty() || *name == ".." || name->find_first_of("/\\:") != std::string::npos) std::abort();
  iex::TCommitRecord again;
  if (!iex::TCommitRecord::Parse(record.Format(), again) || again.Format() != record.Format()) std::abort();
  return 0;
}
