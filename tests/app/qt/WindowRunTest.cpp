// The window during a run and around it: Enter where it belongs, the grid's
// one-letter cells, the folder chooser, and a run of 50,000 invoices that
// shows progress, can be stopped, and asks before the window closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdlib>
#include <filesystem>
#include <set>

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

class WindowRunTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    tools::AgencyOptions o;
    // IEX_WINDOW_INVOICES and IEX_WINDOW_TCP=1 measure other runs by hand.
    const char* invoices = std::getenv("IEX_WINDOW_INVOICES");
    o.invoices = invoices ? std::atoi(invoices) : 50000;
    db_ = test::MakeAgencyDb(*dir_, "agency.fdb", o);
    const char* tcp = std::getenv("IEX_WINDOW_TCP");
    if (tcp && std::string(tcp) == "1" && !test::ServerHost().empty()) {
      db_ = test::RemotePath(db_);
      password_ = test::ServerPassword();
    }
  }
  static void TearDownTestSuite() { delete dir_; }

  void SetUp() override {
    env_.paths = test::TempPaths(home_);
    env_.root = home_.Path() + "/";
    out_ = home_.File("tovrane/db");
    fs::create_directories(out_);
    test::WriteFile(out_ + "/IMPACCT.DAT", "previous accounts\r\n");
    test::WriteFile(out_ + "/IMPINV.DAT", "previous invoices\r\n");
    TAliasRegistry(TAliasDBType::adtIB, env_.paths).AddAlias("BIG", db_);
    store_ = std::make_unique<TRegistrySettingsStore>(env_.paths);
    window_ = std::make_unique<qt::MainWindow>(env_, env_.settings, order_, *store_, "");
    window_->MessageBoxHook = [this](TMsgKind, const std::string& text, TMsgButtons buttons) {
      messages_.push_back(text);
      if (buttons == TMsgButtons::OK) return TMsgResult::OK;
      return answer_;
    };
    window_->Start(dm_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  void TearDown() override {
    window_->MessageBoxHook = [](TMsgKind, const std::string&, TMsgButtons) { return TMsgResult::Yes; };
    if (window_->isVisible()) window_->close();
    (void)QTest::qWaitFor([&] { return !window_->Controller().ExportRunning(); }, 60000);
    window_.reset();
  }
  // The first page filled in and Next: on the mapping page.
  void ToMappingPage() {
    auto* alias = qobject_cast<QComboBox*>(window_->Widget(TElement::cbAlias));
    QTest::keyClick(alias, Qt::Key_Down);
    QTest::keyClicks(window_->Widget(TElement::edPassword), QString::fromStdString(password_));
    QTest::keyClick(window_->Widget(TElement::edPassword), Qt::Key_Return);
    ASSERT_EQ(window_->CurrentPage(), TPage::tsMapping);
    messages_.clear();
  }
  QPushButton* Button(TElement e) { return qobject_cast<QPushButton*>(window_->Widget(e)); }
  bool PreviousPairIntact() {
    return test::ReadFile(out_ + "/IMPACCT.DAT") == "previous accounts\r\n" &&
           test::ReadFile(out_ + "/IMPINV.DAT") == "previous invoices\r\n";
  }

  static test::TempDir* dir_;
  static std::string db_, password_;
  test::TempDir home_;
  test::FakeEnv env_;
  DateOrder order_ = InitDateOrder(env_.settings);
  std::unique_ptr<TRegistrySettingsStore> store_;
  db::TdmMain dm_;
  std::unique_ptr<qt::MainWindow> window_;
  std::vector<std::string> messages_;
  TMsgResult answer_ = TMsgResult::Yes;
  std::string out_;
};

test::TempDir* WindowRunTest::dir_ = nullptr;
std::string WindowRunTest::db_;
std::string WindowRunTest::password_ = "x";

TEST_F(WindowRunTest, EnterOnCloseCloses) {
  Button(TElement::bExit)->setFocus();
  QTest::keyClick(Button(TElement::bExit), Qt::Key_Return);
  EXPECT_FALSE(window_->isVisible()) << "Enter pressed Close, not Next";
  EXPECT_EQ(window_->CurrentPage(), TPage::tsVersion);
}

TEST_F(WindowRunTest, EnterInTheGridNeverExportsAndACellTakesOneLetter) {
  ToMappingPage();
  window_->Controller().cbMapByChange();
  qobject_cast<QComboBox*>(window_->Widget(TElement::cbMapBy))->setCurrentIndex(1);
  QTableWidget* grid = window_->Grid();
  grid->setFocus();
  grid->setCurrentCell(0, 1);
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid->currentRow() == 1; }, 2000)) << "Enter moves to the next row";
  EXPECT_FALSE(window_->Controller().ExportRunning());
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(PreviousPairIntact()) << "no export started";

  // A letter cell takes one character.
  grid->setCurrentCell(0, 1);
  grid->editItem(grid->item(0, 1));
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "xy");
  EXPECT_EQ(editor->text(), QString("x"));
  QTest::keyClick(editor, Qt::Key_Escape);

  // Tab from an open edit keeps the letter and leaves the grid at once.
  grid->editItem(grid->item(0, 1));
  editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "q");
  QTest::keyClick(editor, Qt::Key_Tab);
  EXPECT_EQ(grid->item(0, 1)->text(), QString("q"));
  EXPECT_FALSE(grid->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == grid)
      << "one Tab left the grid";

  // Tab leaves the grid for the next field; back into it, it lands on a letter.
  grid->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(grid, Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), grid) << "Tab left the grid";
  grid->setCurrentCell(3, 0);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  ASSERT_EQ(QApplication::focusWidget(), grid);
  EXPECT_EQ(grid->currentColumn(), 1) << "the first Tab lands on the letter, not the read-only name";
}

// The window takes the height of the panel shown, both ways of the switch:
// no empty frame where the grid was.
TEST_F(WindowRunTest, MapBySwitchLeavesNoEmptyArea) {
  ToMappingPage();
  auto* mapBy = qobject_cast<QComboBox*>(window_->Widget(TElement::cbMapBy));
  mapBy->setCurrentIndex(0);
  QApplication::processEvents();
  const int category = window_->height();
  mapBy->setCurrentIndex(1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window_->height() > category; }, 2000)) << "the grid has room";
  const int type = window_->height();
  mapBy->setCurrentIndex(0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window_->height() == category; }, 2000))
      << "category " << category << ", type " << type << ", back to category " << window_->height();
}

TEST_F(WindowRunTest, TheFolderChooserOpensWithItsSelectionInViewAndShowsThePath) {
  const std::string deep = home_.File("a/b/c/d/e/f/chosen");
  fs::create_directories(deep);
  qt::DirChangeDialog dialog("/tovrane/db", QString::fromStdString(deep), window_.get());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  auto* tree = dialog.findChild<QTreeView*>("lbDir");
  auto* path = dialog.findChild<QLineEdit*>("edPath");
  ASSERT_TRUE(tree && path);
  EXPECT_EQ(path->text().toStdString(), deep);
  EXPECT_EQ(dialog.SelectedFolder().toStdString(), deep);
  EXPECT_TRUE(QTest::qWaitFor([&] {
    const QRect r = tree->visualRect(tree->currentIndex());
    return r.isValid() && tree->viewport()->rect().intersects(r);
  }, 5000)) << "the selected folder is in view";
  auto* message = dialog.findChild<QLabel*>("lMsg");
  EXPECT_NE(message->text().indexOf("/tovrane/db"), -1) << message->text().toStdString();

  // A typed path is the choice; one that names no folder is refused with a word, the dialog kept.
  const std::string typed = home_.File("a/b");
  path->setFocus();
  path->selectAll();
  QTest::keyClicks(path, QString::fromStdString(typed + "/"));
  EXPECT_EQ(dialog.SelectedFolder().toStdString(), typed);
  path->selectAll();
  QTest::keyClicks(path, QString::fromStdString(home_.File("nowhere")));
  QString warned;
  QTimer::singleShot(0, &dialog, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      warned = box->text();
      box->accept();
    }
  });
  dialog.findChild<QPushButton*>("bOK")->click();
  EXPECT_NE(warned.indexOf("There is no folder " + QString::fromStdString(home_.File("nowhere"))), -1)
      << warned.toStdString();
  EXPECT_TRUE(dialog.isVisible());
  path->selectAll();
  QTest::keyClicks(path, QString::fromStdString(typed));
  QTest::keyClick(path, Qt::Key_Return);  // Enter in the field is OK
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.SelectedFolder().toStdString(), typed);
}

// Every phase with a count draws it, the account lines too (a busy bar
// draws no text of its own), and the bar keeps its place from phase to phase.
TEST_F(WindowRunTest, ProgressDrawsItsCountsAndTheBarStaysInPlace) {
  ToMappingPage();
  auto* phase = window_->findChild<QLabel*>("lPhase");
  auto* count = window_->findChild<QLabel*>("lCount");
  QProgressBar* bar = window_->ProgressBar();
  ASSERT_TRUE(phase && count);
  bool sawAccounts = false;
  std::set<int> barPlaces;
  std::set<std::string> uncounted;
  QTimer sampler;
  sampler.setInterval(5);
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    if (!bar->isVisible()) return;
    barPlaces.insert(bar->mapTo(window_.get(), QPoint(0, 0)).x());
    const QString p = phase->text(), c = count->text();
    if (p.startsWith("Writing accounts") && c.endsWith(" account lines")) sawAccounts = true;
    if ((p.startsWith("Writing") || p.startsWith("Reading invoices")) && c.isEmpty())
      uncounted.insert(p.toStdString());
  });
  sampler.start();
  Button(TElement::bExport)->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->Controller().ExportRunning(); }, 120000));
  sampler.stop();
  EXPECT_TRUE(sawAccounts) << "the account lines were drawn";
  EXPECT_TRUE(uncounted.empty()) << (uncounted.empty() ? std::string() : *uncounted.begin());
  EXPECT_EQ(barPlaces.size(), 1u) << "the bar moved";
}

TEST_F(WindowRunTest, StopKeepsThePreviousFilesAndClosingAsksFirst) {
  ToMappingPage();
  // Stop: the run ends, the folder is as it was, Export works again.
  Button(TElement::bExport)->click();
  ASSERT_TRUE(window_->Controller().ExportRunning());
  EXPECT_TRUE(Button(TElement::bStop)->isEnabled());
  EXPECT_FALSE(Button(TElement::bExport)->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->Controller().Progress().InvoicesWritten() > 100; }, 120000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window_->ProgressBar()->maximum() > 100; }, 5000)) << "the bar counts against the total";
  Button(TElement::bStop)->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->Controller().ExportRunning(); }, 60000));
  EXPECT_TRUE(PreviousPairIntact());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(window_->CurrentPage(), TPage::tsMapping);
  EXPECT_TRUE(Button(TElement::bExport)->isEnabled());
  EXPECT_FALSE(Button(TElement::bStop)->isEnabled());

  // Closing during a run asks; No goes on to the end, and the user-interface
  // thread is never held up by the run meanwhile. A gap counts only when the
  // worker wrote invoices during it: on a loaded machine the whole process
  // may wait for a core, which holds both threads up alike and is no fault.
  answer_ = TMsgResult::No;
  qint64 largestGap = 0;
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0;
  long lastWritten = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const long written = window_->Controller().Progress().InvoicesWritten();
    if (written > lastWritten + 50) largestGap = std::max(largestGap, clock.elapsed() - last);
    last = clock.elapsed();
    lastWritten = written;
  });
  ticker.start(10);
  Button(TElement::bExport)->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->Controller().Progress().InvoicesWritten() > 100; }, 120000));
  window_->close();
  ASSERT_FALSE(messages_.empty());
  EXPECT_EQ(messages_.back(), "Stop the export and close?");
  EXPECT_TRUE(window_->isVisible());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->isVisible(); }, 300000));
  ticker.stop();
  EXPECT_EQ(messages_.back().rfind("Export Done.\n", 0), 0u) << messages_.back();
  EXPECT_FALSE(PreviousPairIntact());
  std::printf("largest gap of the user-interface thread while the run went on: %lld ms\n", static_cast<long long>(largestGap));
  // A second: far beyond a timer's lateness on a busy machine, far below a
  // window that stands still while the run works (the whole run, before).
  EXPECT_LT(largestGap, 1000);
}

// Only a deliberate act stops a run: Enter and Space, wherever the keyboard
// is, leave it going; Stop never holds the focus or the default.
TEST_F(WindowRunTest, EnterAndSpaceDuringARunNeverStopIt) {
  ToMappingPage();
  Button(TElement::bExport)->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->Controller().Progress().InvoicesWritten() > 10; }, 120000));
  QPushButton* stop = Button(TElement::bStop);
  EXPECT_FALSE(stop->hasFocus());
  EXPECT_EQ(stop->focusPolicy(), Qt::NoFocus);
  EXPECT_FALSE(stop->isDefault());
  EXPECT_FALSE(stop->autoDefault());
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
    QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : window_.get();
    QTest::keyClick(focused, key);
    QTest::keyClick(window_.get(), key);
  }
  QTest::qWait(200);
  EXPECT_TRUE(window_->Controller().ExportRunning()) << "a key stopped the run";
  stop->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->Controller().ExportRunning(); }, 60000));
  EXPECT_TRUE(PreviousPairIntact());
}

TEST_F(WindowRunTest, ClosingWithYesStopsTheRunAndCloses) {
  ToMappingPage();
  Button(TElement::bExport)->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->Controller().Progress().InvoicesWritten() > 100; }, 120000));
  // The real question first: Enter answers No and the run goes on.
  auto hook = std::move(window_->MessageBoxHook);
  window_->MessageBoxHook = nullptr;
  bool answeredNo = false;
  QTimer::singleShot(200, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    answeredNo = box->defaultButton() == box->button(QMessageBox::No);
    QTest::keyClick(box, Qt::Key_Return);
  });
  window_->close();
  EXPECT_TRUE(answeredNo) << "the close question's default is No";
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->Controller().ExportRunning());
  window_->MessageBoxHook = std::move(hook);
  answer_ = TMsgResult::Yes;
  window_->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->isVisible(); }, 60000));
  EXPECT_FALSE(window_->Controller().ExportRunning());
  EXPECT_TRUE(PreviousPairIntact());
}

}  // namespace
}  // namespace iex
