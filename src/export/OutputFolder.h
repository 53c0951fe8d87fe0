#pragma once
#include <string>

#include "platform/FileSystem.h"

namespace iex {

// What is wrong with `folder` as the folder the import files go into, in
// words a user can act on; empty when nothing is. A link to a folder counts.
std::string OutputFolderProblem(TFileSystem& fs, const std::string& folder);

}  // namespace iex
