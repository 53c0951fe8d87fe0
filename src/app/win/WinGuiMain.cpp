// The Win32 window's run: the start-up routines, the window, its message
// loop, and an orderly end however the window is told to close.
#include <windows.h>

#include <atomic>

#include "app/Version.h"
#include "app/GuiMain.h"
#include "app/RegistrySettingsStore.h"
#include "app/win/MainWindow.h"
#include "db/ClientLibrary.h"
#include "util/DateOrder.h"

namespace iex {
namespace {

std::atomic<HWND> gWindow{nullptr};
HANDLE gEnded = nullptr;  // set once the run, the connection and the engine are done with

// Ctrl-C, Ctrl-Break or the console closing (the .com started from a
// console): the window closes as its close button would, without the
// question, and a run stops with the previous files kept.
BOOL WINAPI EndFromConsole(DWORD event) {
  HWND w = gWindow.load();
  if (!w) return FALSE;
  PostMessageW(w, win::TMainWindow::kEndWithoutAsking, 0, 0);
  // Windows ends the process when this returns from these: wait (within the
  // few seconds it allows) for the orderly end.
  if (gEnded && (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT))
    WaitForSingleObject(gEnded, 4500);
  return TRUE;
}

}  // namespace

int RunWindow(int, char**) {
  Env& env = DefaultEnv();
  const TDateFormats formats = StartDateFormats(env.Regional());
  TRegistrySettingsStore store(env.Paths());
  db::TdmMain dm;
  gEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    win::TMainWindow window(env, formats.regional, formats.order, store, IEX_VERSION);
    window.OnClosed = [] { PostQuitMessage(0); };
    window.Start(dm);
    gWindow = window.Handle();
    SetConsoleCtrlHandler(EndFromConsole, TRUE);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) window.Dispatch(msg);
    gWindow = nullptr;
    window.AbandonRun(5000);
  }
  dm.Disconnect();
  db::ShutdownClientLibrary();
  if (gEnded) SetEvent(gEnded);
  return 0;
}

}  // namespace iex
