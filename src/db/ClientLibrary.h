#pragma once

namespace iex::db {

// Ends the client library's work before the process ends: the embedded
// engine's threads stop and its files are closed, instead of being cut off
// at exit. Safe to call when nothing was opened; call it once, last.
void ShutdownClientLibrary() noexcept;

// Whether the client library can be loaded (on Windows fbclient.dll is
// looked up when first needed; elsewhere it is linked in).
bool ClientLibraryAvailable() noexcept;

}  // namespace iex::db
