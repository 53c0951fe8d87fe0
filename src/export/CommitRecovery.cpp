#include <string>

#include "export/OutputTransaction.h"
#include "platform/AnsiText.h"
#include "platform/Error.h"

namespace iex {
namespace {

constexpr std::size_t kMaxRecord = 64 * 1024;

bool ReadRecord(TFileSystem& fs, const std::string& path, std::string& text) {
  const auto file = fs.OpenForReading(path);
  if (!file) return false;
  char buffer[4096];
  for (std::size_t n; (n = file->Read(buffer, sizeof buffer)) > 0 && text.size() <= kMaxRecord;) text.append(buffer, n);
  return true;
}

bool Holds(TFileSystem& fs, const std::string& path, const TFileDigest& digest) {
  TFileDigest now;
  return DigestOf(fs, path, now) && now == digest;
}

}  // namespace

std::string RecoverInterruptedCommit(TFileSystem& fs, const std::string& folder) {
  return SettleCommit(fs, folder, false);
}

std::string SettleCommit(TFileSystem& fs, const std::string& folder, bool undo) {
  const std::string recordPath = folder + "/" + TCommitRecord::kName;
  std::string text;
  TCommitRecord record;
  try {
    if (!ReadRecord(fs, recordPath, text)) return std::string();
  } catch (const EFileError& e) {
    throw EMvError(TLineWriter::FailureText(recordPath, e.CauseText()));
  }
  if (text.size() > kMaxRecord || !TCommitRecord::Parse(text, record))
    throw EMvError("The folder " + ShownPath(folder) + " holds " + TCommitRecord::kName +
                   ", which is no commit record of this program.\nRemove it after checking IMPACCT.DAT and IMPINV.DAT; "
                   "nothing was changed.");
  auto in = [&](const std::string& name) { return folder + "/" + name; };
  bool forward = !undo;
  std::vector<bool> inPlace;
  for (const TCommitEntry& e : record.entries) {
    inPlace.push_back(Holds(fs, in(e.name), e.digest));
    forward = forward && (inPlace.back() || Holds(fs, in(e.temp), e.digest));
  }
  // Undone only where every file is one the commit knows: its new version
  // with the previous one kept, or the previous one back (or never there).
  // A file changed or removed since by someone else leaves everything as it is.
  if (!forward) {
    std::string unknown;
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
      const TCommitEntry& e = record.entries[i];
      const bool kept = fs.Exists(in(e.previous));
      // Not in place: the commit had not reached it (its new version still
      // waits), or it was put back already, or it went aside and waits to return.
      const bool known = inPlace[i] ? (e.kept == TKeptAs::None || kept)
                                    : Holds(fs, in(e.temp), e.digest) || !kept ||
                                          (e.kept == TKeptAs::Aside && !fs.Exists(in(e.name)));
      if (!known) unknown += (unknown.empty() ? "" : ", ") + e.name;
    }
    if (!unknown.empty()) {
      std::string copies;
      for (const TCommitEntry& e : record.entries)
        if (fs.Exists(in(e.previous))) copies += (copies.empty() ? "" : ", ") + e.previous;
      for (const TCommitEntry& e : record.entries)
        if (fs.Exists(in(e.temp))) copies += (copies.empty() ? "" : ", ") + e.temp;
      throw EMvError("An export into " + ShownPath(folder) +
                     " had been interrupted while its files went in place, and " + unknown +
                     " changed since (edited, replaced or removed): neither that export's pair nor the one before it is "
                     "whole, so nothing was changed.\nThe copies kept are " + (copies.empty() ? "none" : copies) +
                     ". Choose the pair to keep (the accounting program should import a matching IMPACCT.DAT and "
                     "IMPINV.DAT), then remove " + TCommitRecord::kName + " from the folder.");
    }
  }
  try {
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
      const TCommitEntry& e = record.entries[i];
      const std::string final = in(e.name), previous = in(e.previous);
      if (forward && !inPlace[i]) {
        if (e.kept == TKeptAs::Aside && fs.Exists(final) && !fs.Exists(previous)) fs.Rename(final, previous);
        fs.Rename(in(e.temp), final);
      } else if (!forward && inPlace[i]) {
        if (e.kept == TKeptAs::None)
          fs.Remove(final);
        else if (fs.Exists(previous))
          fs.Rename(previous, final);
        else
          throw EMvError("The previous " + e.name + " in " + ShownPath(folder) + " is gone");
      } else if (!forward && e.kept == TKeptAs::Aside && !fs.Exists(final) && fs.Exists(previous)) {
        fs.Rename(previous, final);
      }
    }
    fs.SyncFolder(folder);
  } catch (const EFileError& e) {
    throw EMvError("An interrupted export into " + ShownPath(folder) + " could not be settled.\n" +
                   e.CauseText() + " (" + ShownPath(e.Path()) + ") Nothing else was changed.");
  }
  fs.Remove(recordPath);
  try {
    fs.SyncFolder(folder);
  } catch (const EFileError&) {
  }
  for (const TCommitEntry& e : record.entries) {
    fs.Remove(in(e.temp));
    fs.Remove(in(e.previous));
  }
  return forward ? "An export into " + ShownPath(folder) +
                       " had been interrupted while its files went in place; it was completed: both files are that "
                       "export's."
                 : "An export into " + ShownPath(folder) +
                       " had been interrupted while its files went in place; it was undone: both files are the ones "
                       "before it.";
}

}  // namespace iex
