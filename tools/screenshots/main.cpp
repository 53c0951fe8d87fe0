// Renders both wizard pages to PNG files: the first page with a demo alias
// chosen, the mapping page filled from a demo database, a run under way and
// one finished. With a NAME, only the mapping page, as NAME.png: for a
// picture at another scale (QT_SCALE_FACTOR).
//   screenshots OUTPUT_FOLDER WORK_FOLDER [NAME]
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <filesystem>

#include "app/Version.h"
#include "Generator.h"
#include "aliases/AliasRegistry.h"
#include "app/RegistrySettingsStore.h"
#include "app/qt/DirChangeDialog.h"
#include "app/qt/MainWindow.h"

namespace {

// The machine's settings and clock, with hives and folders in the work folder.
class DemoEnv : public iex::Env {
 public:
  explicit DemoEnv(const std::string& work) : work_(work) {}
  iex::RegionalSettings Regional() const override { return iex::DefaultEnv().Regional(); }
  iex::DateValue Now() const override { return iex::DefaultEnv().Now(); }
  std::string FileSystemRoot() const override { return work_ + "/"; }
  std::string ProgramFolder() const override { return work_ + "/"; }
  iex::TPlatformPaths Paths() const override {
    return {work_ + "/user.reg", work_ + "/machine.reg", "demo", work_ + "/appdata", work_ + "/common", ""};
  }

 private:
  std::string work_;
};

bool Save(QWidget& w, const std::string& path) {
  QApplication::processEvents();
  return w.grab().save(QString::fromStdString(path));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: screenshots OUTPUT_FOLDER WORK_FOLDER [NAME]\n");
    return 2;
  }
  const std::string out = argv[1], work = argv[2];
  std::filesystem::create_directories(work);
  const std::string db = work + "/demo.fdb";
  iex::tools::AgencyOptions o;
  o.invoices = 60000;  // enough for a picture of a run under way
  iex::tools::CreateAgencyDatabase(db, o);
  DemoEnv env(work);
  std::filesystem::create_directories(work + "/tovrane/db");
  iex::TAliasRegistry(iex::TAliasDBType::adtIB, env.Paths()).AddAlias("DEMO", db);
  iex::TAliasRegistry(iex::TAliasDBType::adtIB, env.Paths()).AddAlias("HEAD OFFICE", "srv1:/data/agency.fdb");
  iex::RegionalSettings settings = env.Regional();
  const iex::DateOrder order = iex::InitDateOrder(settings);
  iex::ExpandShortYearFormat(settings);
  iex::TRegistrySettingsStore store(env.Paths());
  iex::qt::MainWindow window(env, settings, order, store, IEX_VERSION);
  window.MessageBoxHook = [](iex::TMsgKind, const std::string&, iex::TMsgButtons b) {
    return b == iex::TMsgButtons::OK ? iex::TMsgResult::OK : iex::TMsgResult::Yes;
  };
  iex::db::TdmMain dm;
  window.Start(dm);
  window.activateWindow();
  QTest::qWait(200);
  auto* alias = qobject_cast<QComboBox*>(window.Widget(iex::TElement::cbAlias));
  alias->setCurrentIndex(alias->findText("DEMO"));
  window.Controller().cbAliasChange();
  QTest::keyClicks(window.Widget(iex::TElement::edPassword), "masterkey");
  window.Controller().edStartInvDate.Box.SetBoxText("1/1/2024");
  // With a NAME, only the mapping page: the first page stays as drawn at scale 1.
  if (argc <= 3 && !Save(window, out + "/page1-connection.png")) return 1;
  qobject_cast<QPushButton*>(window.Widget(iex::TElement::bExport))->click();
  QTest::qWait(100);
  if (argc > 3) {
    if (!Save(window, out + "/" + argv[3] + ".png")) return 1;
    std::printf("wrote %s/%s.png\n", out.c_str(), argv[3]);
    return 0;
  }
  if (!Save(window, out + "/page2-mapping.png")) return 1;
  qobject_cast<QComboBox*>(window.Widget(iex::TElement::cbMapBy))->setCurrentIndex(1);
  QTest::qWait(100);
  if (!Save(window, out + "/page2-travel-types.png")) return 1;
  qobject_cast<QComboBox*>(window.Widget(iex::TElement::cbMapBy))->setCurrentIndex(0);
  // A run under way: progress bar, phase and the Stop button.
  qobject_cast<QPushButton*>(window.Widget(iex::TElement::bExport))->click();
  if (!QTest::qWaitFor([&] { return window.Controller().Progress().InvoicesWritten() > 1500; }, 60000)) return 1;
  QTest::qWait(200);  // the window's progress timer shows it
  if (!Save(window, out + "/export-running.png")) return 1;
  qobject_cast<QPushButton*>(window.Widget(iex::TElement::bStop))->click();
  if (!QTest::qWaitFor([&] { return !window.Controller().ExportRunning(); }, 60000)) return 1;
  // A run to its end: the last state shown is complete.
  qobject_cast<QPushButton*>(window.Widget(iex::TElement::bExport))->click();
  if (!QTest::qWaitFor([&] { return !window.Controller().ExportRunning(); }, 300000)) return 1;
  QTest::qWait(200);
  if (!Save(window, out + "/export-done.png")) return 1;
  // The folder chooser, as it opens when the default folder is missing.
  std::filesystem::create_directories(work + "/programs/invoice-export");
  iex::qt::DirChangeDialog chooser(QString::fromStdString(env.FileSystemRoot() + "tovrane/db"),
                                   QString::fromStdString(work + "/programs/invoice-export"), &window);
  chooser.show();
  QTest::qWait(1500);
  if (!Save(chooser, out + "/folder-chooser.png")) return 1;
  std::printf("wrote %s/page1-connection.png, page2-mapping.png, page2-travel-types.png, export-running.png, export-done.png, folder-chooser.png\n",
              out.c_str());
  return 0;
}
