#pragma once

namespace iex {

// Runs the window (Qt on Linux, Win32 on Windows); returns the program's exit status.
int RunWindow(int argc, char** argv);

}  // namespace iex
