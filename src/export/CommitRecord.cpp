#include "export/CommitRecord.h"

#include <sstream>

namespace iex {
namespace {

constexpr const char* kHeader = "invoice-export commit 1";

const char* KeptText(TKeptAs k) { return k == TKeptAs::Link ? "link" : k == TKeptAs::Aside ? "aside" : "none"; }

// Our own names only: no separator, no way out of the folder.
bool PlainName(const std::string& n) {
  return !n.empty() && n != "." && n != ".." && n.find_first_of("/\\:") == std::string::npos;
}

}  // namespace

std::string TCommitRecord::Format() const {
  std::string text = std::string(kHeader) + "\n";
  for (const TCommitEntry& e : entries)
    text += "file " + e.name + " " + e.temp + " " + e.digest.Text() + " " + KeptText(e.kept) + " " + e.previous + "\n";
  return text + "end\n";
}

bool TCommitRecord::Parse(const std::string& text, TCommitRecord& record) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return false;
  record.entries.clear();
  while (std::getline(in, line)) {
    if (line == "end") return !record.entries.empty();
    std::istringstream words(line);
    std::string word, digest, kept;
    TCommitEntry e;
    if (!(words >> word >> e.name >> e.temp >> digest >> kept >> e.previous) || word != "file") return false;
    if (!PlainName(e.name) || !PlainName(e.temp) || !PlainName(e.previous) || !TFileDigest::Parse(digest, e.digest))
      return false;
    if (kept == "link")
      e.kept = TKeptAs::Link;
    else if (kept == "aside")
      e.kept = TKeptAs::Aside;
    else if (kept != "none")
      return false;
    record.entries.push_back(e);
  }
  return false;  // no "end": torn
}

}  // namespace iex
