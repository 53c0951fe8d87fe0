#pragma once
#include <functional>

namespace iex {

namespace qt {
class MainWindow;
}

// Runs the window; returns the program's exit status. `shown`, when given,
// is called once the window shows (a test drives it from there).
int RunWindow(int argc, char** argv, const std::function<void(qt::MainWindow&)>& shown = {});

}  // namespace iex
