// The window as the program runs it (its own main, its orderly end), driven
// to the mapping page over the database IEX_PROBE_DB, and with
// IEX_PROBE_EXPORT set on into a run whose folder is IEX_PROBE_OUT. Says
// "page2" and then "running" on standard output when it gets there.
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/qt/GuiMain.h"
#include "app/qt/MainWindow.h"

int main(int argc, char** argv) {
  const std::string db = std::getenv("IEX_PROBE_DB") ? std::getenv("IEX_PROBE_DB") : "";
  const char* out = std::getenv("IEX_PROBE_OUT");
  const bool exportToo = std::getenv("IEX_PROBE_EXPORT") != nullptr;
  return iex::RunQtWindow(argc, argv, [&](iex::qt::MainWindow& w) {
    w.MessageBoxHook = [](iex::TMsgKind, const std::string& text, iex::TMsgButtons b) {
      std::fprintf(stderr, "message: %s\n", text.c_str());
      return b == iex::TMsgButtons::OK ? iex::TMsgResult::OK : iex::TMsgResult::Yes;
    };
    w.FolderHook = [out](const std::string&, std::string& chosen) {
      chosen = out ? out : "/tmp";
      return true;
    };
    QTimer::singleShot(0, &w, [&w, db, exportToo] {
      w.SetText(iex::TElement::edPath, db);
      w.SetText(iex::TElement::edPassword, "x");
      w.Controller().bExportClick();
      if (w.CurrentPage() != iex::TPage::tsMapping) return;
      std::puts("page2");
      std::fflush(stdout);
      if (!exportToo) return;
      w.Controller().bExportClick();
      if (w.Controller().ExportRunning()) std::puts("running");
      std::fflush(stdout);
    });
  });
}
