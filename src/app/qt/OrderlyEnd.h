#pragma once
#include <QObject>

#include "app/qt/MainWindow.h"

class QSocketNotifier;

namespace iex::qt {

// However the window ends, it ends the same way: a run is stopped (the
// previous files kept), the database detaches and the client library shuts
// down on this thread with a bounded wait, then the process exits. SIGTERM,
// SIGINT and SIGHUP close the window as its close button would, without the
// question; the display going away, or any exit() under the engine, goes
// through EndNow, so the engine's own exit handlers never run with a run or
// a connection still open: one of them can spin holding the engine's lock
// file, which every other user of the embedded engine then waits on.
class TOrderlyEnd : public QObject {
 public:
  TOrderlyEnd(MainWindow& window, db::TdmMain& dm);
  ~TOrderlyEnd() override;

  // After the event loop has returned: the orderly end of a normal close.
  void Finish();

 private:
  static void EndNow(int status);  // no event loop: stop, detach, shut down, _exit
  static int OnDisplayLost(void* display);
  static void AtExit();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace iex::qt
