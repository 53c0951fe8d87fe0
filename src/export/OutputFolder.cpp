#include "export/OutputFolder.h"

#include "platform/AnsiText.h"

namespace iex {

std::string OutputFolderProblem(TFileSystem& fs, const std::string& folder) {
  switch (fs.LeadsTo(folder)) {
    case TFileSystem::TLeadsTo::Folder: return std::string();
    case TFileSystem::TLeadsTo::Other:
      return "The output folder " + ShownPath(folder) + " is a file, not a folder. Name a folder.";
    case TFileSystem::TLeadsTo::Nothing: break;
  }
  return "The output folder " + ShownPath(folder) + " does not exist. Create it or name another one.";
}

}  // namespace iex
