#pragma once
#include <string>
#include <vector>

#include "export/FileDigest.h"

namespace iex {

// How the previous version of an import file is kept while the new one goes in.
enum class TKeptAs {
  None,     // there was none
  Link,     // a second name made before the new file goes in
  Aside,    // renamed aside just before (a file system without links)
};

struct TCommitEntry {
  std::string name;      // IMPACCT.DAT
  std::string temp;      // .IMPACCT.DAT.partial-PID: the new version until it goes in
  std::string previous;  // .IMPACCT.DAT.previous-PID
  TKeptAs kept = TKeptAs::None;
  TFileDigest digest;    // of the new version
};

// The record a commit writes before its first rename and removes after its
// last: whoever finds it knows which pair was going in, and completes or
// undoes that commit. Names are inside the record's own folder.
struct TCommitRecord {
  static constexpr const char* kName = ".invoice-export.commit";
  std::vector<TCommitEntry> entries;

  std::string Format() const;
  // False when the text is no record of this program.
  static bool Parse(const std::string& text, TCommitRecord& record);
};

}  // namespace iex
