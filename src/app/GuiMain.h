#pragma once

namespace iex {

// Runs the window; returns the program's exit status.
int RunWindow(int argc, char** argv);

}  // namespace iex
