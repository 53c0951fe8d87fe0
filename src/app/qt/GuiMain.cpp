#include <QApplication>

#include "app/GuiMain.h"
#include "app/RegistrySettingsStore.h"
#include "app/qt/MainWindow.h"
#include "util/DateOrder.h"

namespace iex {

int RunWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  Env& env = DefaultEnv();
  // Start-up routines before any window exists.
  const TDateFormats formats = StartDateFormats(env.Regional());
  TRegistrySettingsStore store(env.Paths());
  qt::MainWindow window(env, formats.regional, formats.order, store, IEX_VERSION);
  db::TdmMain dm;
  window.Start(dm);
  return app.exec();
}

}  // namespace iex
