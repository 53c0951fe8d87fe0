#pragma once
#include <windows.h>

#include <string>

namespace iex::win {

// The folder chooser shown when the default output folder is missing:
// Windows' own folder picker (typed paths, network places, long paths and
// "New folder" as Explorer has them), opening at `startFolder`, with the
// missing folder named above it. Paths are UTF-8; false when cancelled.
bool ChooseOutputFolder(HWND owner, const std::string& missingFolder, const std::string& startFolder, std::string& chosen);

}  // namespace iex::win
