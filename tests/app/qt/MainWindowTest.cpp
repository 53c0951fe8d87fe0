// The window itself, driven as a person would: choose the alias, type the
// password, Next, change a letter, Export.
#include <gtest/gtest.h>

#include <sstream>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "AgencyDb.h"
#include "FakeEnv.h"
#include "TempPaths.h"
#include "aliases/AliasRegistry.h"
#include "app/RegistrySettingsStore.h"
#include "app/qt/MainWindow.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

TEST(MainWindow, FromTheAliasToExportDone) {
  test::TempDir dir;
  tools::AgencyOptions o;
  o.invoices = 12;
  const std::string db = test::MakeAgencyDb(dir, "agency.fdb", o);
  test::FakeEnv env;
  env.paths = test::TempPaths(dir);
  env.root = dir.Path() + "/";
  fs::create_directories(dir.File("tovrane/db"));
  TAliasRegistry(TAliasDBType::adtIB, env.paths).AddAlias("DEMO", db);
  const DateOrder order = InitDateOrder(env.settings);
  TRegistrySettingsStore store(env.paths);

  qt::MainWindow window(env, env.settings, order, store, "1.0.2.15");
  std::vector<std::string> messages;
  window.MessageBoxHook = [&](TMsgKind, const std::string& text, TMsgButtons buttons) {
    messages.push_back(text);
    return buttons == TMsgButtons::OK ? TMsgResult::OK : TMsgResult::Yes;
  };
  db::TdmMain dm;
  window.Start(dm);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle(), QString("Invoice Export Utility"));
  EXPECT_EQ(QApplication::focusWidget(), window.Widget(TElement::cbAlias));

  auto* alias = qobject_cast<QComboBox*>(window.Widget(TElement::cbAlias));
  QTest::keyClick(alias, Qt::Key_Down);
  EXPECT_EQ(alias->currentText(), QString("DEMO"));
  EXPECT_EQ(qobject_cast<QLineEdit*>(window.Widget(TElement::edPath))->text(), QString::fromStdString(db));
  QTest::keyClicks(window.Widget(TElement::edPassword), "secret");
  QTest::keyClick(window.Widget(TElement::edPassword), Qt::Key_Return);  // Enter presses Next
  ASSERT_EQ(window.CurrentPage(), TPage::tsMapping) << (messages.empty() ? "" : messages.back());
  EXPECT_EQ(messages, (std::vector<std::string>{
                          "No filter criteria selected. All Invoices generated via Corvantine will be exported. Continue?"}));
  auto* bExport = qobject_cast<QPushButton*>(window.Widget(TElement::bExport));
  EXPECT_EQ(bExport->text(), QString("&Export"));  // Alt+E

  EXPECT_EQ(QApplication::focusWidget(), window.Widget(TElement::cbMapBy));
  auto* air = qobject_cast<QLineEdit*>(window.Widget(TElement::eAir));
  QTest::keyClick(window.Widget(TElement::cbMapBy), Qt::Key_Tab);  // on to the first letter
  ASSERT_EQ(QApplication::focusWidget(), air);
  QTest::keyClick(air, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(air, "z");
  EXPECT_EQ(air->text(), QString("z"));
  QTest::keyClick(air, Qt::Key_Return);  // Enter presses Export
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 60000)) << "the run ends and the window closes";
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().rfind("Export Done.\n", 0), 0u) << messages.back();
  EXPECT_TRUE(fs::file_size(dir.File("tovrane/db/IMPACCT.DAT")) > 0);
  EXPECT_TRUE(fs::file_size(dir.File("tovrane/db/IMPINV.DAT")) > 0);
  EXPECT_EQ(store.Load().categoryLetters[1], "z");
  EXPECT_FALSE(window.isVisible());
}

TEST(MainWindow, DateFieldCalendarByKeyboard) {
  test::TempDir dir;
  test::FakeEnv env;  // today is 15 May 2024
  env.paths = test::TempPaths(dir);
  const DateOrder order = InitDateOrder(env.settings);
  TRegistrySettingsStore store(env.paths);
  qt::MainWindow window(env, env.settings, order, store, "");
  window.MessageBoxHook = [](TMsgKind, const std::string&, TMsgButtons) { return TMsgResult::OK; };
  db::TdmMain dm;
  window.Start(dm);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  auto* field = window.findChild<qt::DateEditWidget*>("edStartInvDate");
  ASSERT_NE(field, nullptr);
  field->DropDown();
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr);
  QWidget* calendar = popup->focusWidget() ? popup->focusWidget() : popup;
  QTest::keyClick(calendar, Qt::Key_PageDown);                        // 15 June
  QTest::keyClick(calendar, Qt::Key_PageDown, Qt::ControlModifier);   // 15 June 2025
  QTest::keyClick(calendar, Qt::Key_Right);                           // 16 June 2025
  QTest::keyClick(calendar, Qt::Key_Return);
  EXPECT_EQ(field->Edit()->text(), QString("6/16/2025"));
  EXPECT_EQ(window.Controller().edStartInvDate.Date(), 45824);
  field->DropDown();  // within half a second of closing: stays shut
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

// What is exported is what is saved: a letter typed into a grid cell whose
// editor is still open when Alt+E is pressed goes into both.
TEST(MainWindow, AnOpenCellEditIsExportedAsItIsSaved) {
  test::TempDir dir;
  tools::AgencyOptions o;
  o.invoices = 30;
  const std::string db = test::MakeAgencyDb(dir, "agency.fdb", o);
  test::FakeEnv env;
  env.paths = test::TempPaths(dir);
  env.root = dir.Path() + "/";
  fs::create_directories(dir.File("tovrane/db"));
  TAliasRegistry(TAliasDBType::adtIB, env.paths).AddAlias("DEMO", db);
  const DateOrder order = InitDateOrder(env.settings);
  TRegistrySettingsStore store(env.paths);
  qt::MainWindow window(env, env.settings, order, store, "1.0.2.15");
  window.MessageBoxHook = [&](TMsgKind, const std::string&, TMsgButtons buttons) {
    return buttons == TMsgButtons::OK ? TMsgResult::OK : TMsgResult::Yes;
  };
  db::TdmMain dm;
  window.Start(dm);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::keyClick(window.Widget(TElement::cbAlias), Qt::Key_Down);
  QTest::keyClicks(window.Widget(TElement::edPassword), "x");
  QTest::keyClick(window.Widget(TElement::edPassword), Qt::Key_Return);
  ASSERT_EQ(window.CurrentPage(), TPage::tsMapping);
  qobject_cast<QComboBox*>(window.Widget(TElement::cbMapBy))->setCurrentIndex(1);  // by travel type
  QTableWidget* grid = window.Grid();
  grid->setFocus();
  grid->setCurrentCell(0, 1);
  grid->editItem(grid->item(0, 1));
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "k");  // the editor is still open
  QTest::keyClick(editor, Qt::Key_E, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 60000)) << "the run ends";
  EXPECT_EQ(store.Load().travelTypeMap.substr(0, 2), "K;") << "saved";
  EXPECT_EQ(window.Controller().gTravelType.Cell(1, 1), "k");
  // A booking of the first travel type carries K in field 8.
  std::istringstream lines(test::ReadFile(dir.File("tovrane/db/IMPINV.DAT")));
  bool exported = false;
  for (std::string line; std::getline(lines, line);) {
    std::size_t field = 0;
    for (int f = 1; f < 8 && field != std::string::npos; ++f) field = line.find('\t', field) + 1;
    exported = exported || (line.rfind("01\t", 0) == 0 && line.compare(field, 2, "K\t") == 0);
  }
  EXPECT_TRUE(exported) << "the letter typed is the letter exported";
}

}  // namespace
}  // namespace iex
