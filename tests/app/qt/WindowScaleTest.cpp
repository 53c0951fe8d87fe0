// The window on a small screen at a large scale: the buttons, the progress and
// Stop must stay on the screen, whatever page or panel is shown.
// IEX_SCREEN (WIDTHxHEIGHT) and QT_SCALE_FACTOR choose the screen; ctest runs
// the combinations that matter.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "AgencyDb.h"
#include "FakeEnv.h"
#include "TempPaths.h"
#include "aliases/AliasRegistry.h"
#include "app/RegistrySettingsStore.h"
#include "app/qt/DirChangeDialog.h"
#include "app/qt/MainWindow.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

class WindowScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::AgencyOptions o;
    o.invoices = 20000;  // a run long enough to see it under way
    db_ = test::MakeAgencyDb(dir_, "agency.fdb", o);
    env_.paths = test::TempPaths(dir_);
    env_.root = dir_.Path() + "/";
    fs::create_directories(dir_.File("tovrane/db"));
    TAliasRegistry(TAliasDBType::adtIB, env_.paths).AddAlias("AGENCY", db_);
    store_ = std::make_unique<TRegistrySettingsStore>(env_.paths);
    window_ = std::make_unique<qt::MainWindow>(env_, env_.settings, order_, *store_, "");
    window_->MessageBoxHook = [](TMsgKind, const std::string&, TMsgButtons) { return TMsgResult::Yes; };
    window_->Start(dm_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  void TearDown() override {
    if (window_->isVisible()) window_->close();
    (void)QTest::qWaitFor([&] { return !window_->Controller().ExportRunning(); }, 60000);
    window_.reset();
  }
  QPushButton* Button(TElement e) { return qobject_cast<QPushButton*>(window_->Widget(e)); }

  // Whole on the screen and inside the window, at no less than its own height.
  static void ExpectReachable(QWidget* w, const char* what) {
    ASSERT_TRUE(w->isVisible()) << what;
    QWidget* top = w->window();
    const QRect screen = top->screen()->availableGeometry();
    const QRect global(w->mapToGlobal(QPoint(0, 0)), w->size());
    const QRect window(top->mapToGlobal(QPoint(0, 0)), top->size());
    auto text = [](const QRect& r) {
      return std::to_string(r.width()) + "x" + std::to_string(r.height()) + "+" + std::to_string(r.x()) + "+" +
             std::to_string(r.y());
    };
    EXPECT_TRUE(screen.contains(global)) << what << " at " << text(global) << " off the screen " << text(screen);
    EXPECT_TRUE(window.contains(global)) << what << " at " << text(global) << " outside the window " << text(window);
    EXPECT_GE(w->height(), w->minimumSizeHint().height()) << what << " squeezed";
  }
  void ExpectButtonsReachable(const char* where) {
    SCOPED_TRACE(where);
    ExpectReachable(Button(TElement::bExport), "the default button");
    ExpectReachable(Button(TElement::bExit), "Close");
  }

  test::TempDir dir_;
  std::string db_;
  test::FakeEnv env_;
  DateOrder order_ = InitDateOrder(env_.settings);
  std::unique_ptr<TRegistrySettingsStore> store_;
  db::TdmMain dm_;
  std::unique_ptr<qt::MainWindow> window_;
};

TEST_F(WindowScaleTest, ButtonsProgressAndStopStayOnTheScreen) {
  ExpectButtonsReachable("connection page");
  auto* alias = qobject_cast<QComboBox*>(window_->Widget(TElement::cbAlias));
  QTest::keyClick(alias, Qt::Key_Down);
  QTest::keyClicks(window_->Widget(TElement::edPassword), "x");
  Button(TElement::bExport)->click();
  ASSERT_EQ(window_->CurrentPage(), TPage::tsMapping);
  ExpectButtonsReachable("mapping page, by category");
  auto* mapBy = qobject_cast<QComboBox*>(window_->Widget(TElement::cbMapBy));
  mapBy->setCurrentIndex(1);
  QApplication::processEvents();
  ExpectButtonsReachable("mapping page, by travel type");
  mapBy->setCurrentIndex(0);
  QApplication::processEvents();
  ExpectButtonsReachable("mapping page, back to category");

  Button(TElement::bExport)->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->Controller().Progress().InvoicesWritten() > 100; }, 120000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->ProgressBar()->isVisible(); }, 5000));
  ExpectReachable(window_->ProgressBar(), "the progress bar");
  ExpectReachable(Button(TElement::bStop), "Stop");
  Button(TElement::bStop)->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->Controller().ExportRunning(); }, 60000));
}

TEST_F(WindowScaleTest, TheFolderChooserFitsTheScreen) {
  qt::DirChangeDialog dialog("/tovrane/db", QString::fromStdString(dir_.Path()), window_.get());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  for (const char* name : {"bOK", "bCancel", "edPath", "bNewFolder"})
    ExpectReachable(dialog.findChild<QWidget*>(name), name);
}

TEST_F(WindowScaleTest, AMaximisedWindowStaysMaximisedAcrossPages) {
  window_->showMaximized();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->isMaximized(); }, 5000));
  QTest::keyClick(qobject_cast<QComboBox*>(window_->Widget(TElement::cbAlias)), Qt::Key_Down);
  QTest::keyClicks(window_->Widget(TElement::edPassword), "x");
  Button(TElement::bExport)->click();
  ASSERT_EQ(window_->CurrentPage(), TPage::tsMapping);
  EXPECT_TRUE(window_->isMaximized());
  ExpectButtonsReachable("maximised mapping page");
}

}  // namespace
}  // namespace iex

int main(int argc, char** argv) {
  // The offscreen platform takes its screen from a file.
  const char* size = std::getenv("IEX_SCREEN");
  int width = 1600, height = 1000;
  if (size) std::sscanf(size, "%dx%d", &width, &height);
  const std::string config = std::filesystem::temp_directory_path().string() + "/iex-screen-" +
                             std::to_string(width) + "x" + std::to_string(height) + "-" +
                             std::to_string(static_cast<long>(QCoreApplication::applicationPid())) + ".json";
  std::ofstream(config) << R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": )" << width
                        << R"(, "height": )" << height << R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.c_str());
  int status;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  std::filesystem::remove(config);
  return status;
}
