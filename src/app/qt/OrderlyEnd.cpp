#include "app/qt/OrderlyEnd.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <xcb/xcb.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QtGui/qguiapplication_platform.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "db/ClientLibrary.h"

// Xlib's handler of a lost display, declared here: its header's macros
// collide with Qt's names. The display is passed as an opaque pointer.
extern "C" {
using XIOErrorHandler = int (*)(void*);
XIOErrorHandler XSetIOErrorHandler(XIOErrorHandler handler);
}

namespace iex::qt {
namespace {

MainWindow* gWindow = nullptr;
db::TdmMain* gDm = nullptr;
std::atomic<bool> gEnded{false};
int gPipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
QtMessageHandler gQtMessages = nullptr;
constexpr char kDisplayLost[] = "invoice-export: the display went away; the window ends, the previous files kept.\n";

bool DisplayLost() {
  auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 && x11->connection() && xcb_connection_has_error(x11->connection()) != 0;
}

// The toolkit's own words on a lost display are replaced by ours, said as it exits.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith("The X11 connection broke")) return;
  if (gQtMessages) gQtMessages(type, context, text);
}

extern "C" void NoteSignal(int) {
  const int saved = errno;
  if (gWindow) gWindow->Controller().AskStopFromSignal();
  const char c = 1;
  if (gPipe[1] >= 0) (void)!::write(gPipe[1], &c, 1);
  errno = saved;
}

}  // namespace

TOrderlyEnd::TOrderlyEnd(MainWindow& window, db::TdmMain& dm) {
  gWindow = &window;
  gDm = &dm;
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [] {
      char c;
      while (::read(gPipe[0], &c, 1) > 0) {
      }
      // Message boxes first: the window closes once nothing waits on it.
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w != gWindow && w->isVisible() && w->isModal()) w->close();
      gWindow->Controller().EndWithoutAsking();
    });
    struct sigaction sa {};
    sa.sa_handler = NoteSignal;
    sigemptyset(&sa.sa_mask);
    for (int s : kSignals) sigaction(s, &sa, nullptr);
  }
  XSetIOErrorHandler(&TOrderlyEnd::OnDisplayLost);
  gQtMessages = qInstallMessageHandler(FilterQtMessages);
  // The engine's client registers its exit handlers when it first attaches;
  // ours, registered after, runs before them.
  window.Controller().OnConnected = [] {
    static const bool once = std::atexit(&TOrderlyEnd::AtExit) == 0;
    (void)once;
  };
}

TOrderlyEnd::~TOrderlyEnd() {
  for (int s : kSignals) signal(s, SIG_DFL);
  qInstallMessageHandler(gQtMessages);
  gWindow = nullptr;
}

void TOrderlyEnd::Finish() {
  if (gEnded.exchange(true)) return;
  if (gDm) gDm->Disconnect();
  db::ShutdownClientLibrary();
}

void TOrderlyEnd::EndNow(int status) {
  if (!gEnded.exchange(true)) {
    if (gWindow) gWindow->AbandonRun(5000);
    if (gDm) gDm->Disconnect();
    db::ShutdownClientLibrary();
  }
  std::fflush(stdout);
  std::fflush(stderr);
  ::_exit(status);
}

int TOrderlyEnd::OnDisplayLost(void*) {
  std::fputs(kDisplayLost, stderr);
  EndNow(1);
  return 0;
}

void TOrderlyEnd::AtExit() {
  // An exit the window did not make (the toolkit giving up on a lost
  // display): the same orderly end, before the engine's handlers could run.
  if (gEnded) return;
  if (DisplayLost()) std::fputs(kDisplayLost, stderr);
  EndNow(1);
}

}  // namespace iex::qt
