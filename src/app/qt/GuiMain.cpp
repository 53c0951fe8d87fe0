#include <QApplication>

#include "app/Version.h"
#include "app/GuiMain.h"
#include "app/qt/GuiMain.h"
#include "app/RegistrySettingsStore.h"
#include "app/qt/MainWindow.h"
#include "app/qt/OrderlyEnd.h"
#include "util/DateOrder.h"

namespace iex {

int RunQtWindow(int argc, char** argv, const std::function<void(qt::MainWindow&)>& shown) {
  QApplication app(argc, argv);
  Env& env = DefaultEnv();
  // Start-up routines before any window exists.
  const TDateFormats formats = StartDateFormats(env.Regional());
  TRegistrySettingsStore store(env.Paths());
  db::TdmMain dm;
  int status = 0;
  {
    qt::MainWindow window(env, formats.regional, formats.order, store, IEX_VERSION);
    qt::TOrderlyEnd end(window, dm);
    window.Start(dm);
    if (shown) shown(window);
    status = app.exec();
    end.Finish();
  }
  return status;
}

int RunWindow(int argc, char** argv) { return RunQtWindow(argc, argv, {}); }

}  // namespace iex
