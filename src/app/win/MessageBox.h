#pragma once
#include <windows.h>

#include "app/MainView.h"

namespace iex::win {

// A message as Windows shows one: MessageBoxW, or, when the engine's own
// words come with it, a task dialog that keeps them behind "Details".
TMsgResult ShowMessageBox(HWND owner, const std::string& titleAnsi, const TMessage& message);

}  // namespace iex::win
