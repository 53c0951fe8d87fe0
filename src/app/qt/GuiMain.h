#pragma once
#include <functional>

namespace iex {

namespace qt {
class MainWindow;
}

// The Qt window's run; `shown`, when given, is called once the window shows
// (a test drives it from there).
int RunQtWindow(int argc, char** argv, const std::function<void(qt::MainWindow&)>& shown);

}  // namespace iex
