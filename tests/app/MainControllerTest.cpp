#include <gtest/gtest.h>

#include "AgencyDb.h"
#include "FakeEnv.h"
#include "FakeMainView.h"
#include "TempPaths.h"
#include "aliases/AliasRegistry.h"
#include "app/MainController.h"
#include "app/RegistrySettingsStore.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

class MainControllerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    if (!db::ClientLibraryAvailable()) return;
    tools::AgencyOptions o;
    o.invoices = 15;
    db_ = test::MakeAgencyDb(*dir_, "agency.fdb", o);
  }
  static void TearDownTestSuite() { delete dir_; }

  void SetUp() override {
    IEX_SKIP_WITHOUT_DATABASE();
    env_.paths = test::TempPaths(home_);
    env_.root = home_.Path() + "/";
    env_.programFolder = home_.File("bin") + "/";
    fs::create_directories(home_.File("tovrane/db"));
    TAliasRegistry reg(TAliasDBType::adtIB, env_.paths);
    reg.AddAlias("DEMO", db_);
    reg.AddAlias("MISSING", home_.File("nothing.fdb"));
    reg.AddAlias("ONLY", db_);
    reg.GlobalAliases = true;
    reg.AddAlias("demo", home_.File("global.fdb"));
    order_ = InitDateOrder(env_.settings);
    fm_ = std::make_unique<TfmMain>(view_, env_, env_.settings, order_, store_, "1.0.2.15");
    fm_->FormCreate();
    fm_->AttachDataModule(dm_);
    fm_->FormShow();
  }
  // Chooses an alias and fills the first page; filters as given.
  void FirstPage(const std::string& alias = "only", const std::string& password = "x") {
    fm_->cbAliasDropDown();
    view_.Choose(alias == "only" ? "ONLY" : alias);
    fm_->cbAliasChange();
    view_.texts[TElement::edPassword] = password;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> m;
    for (const auto& [kind, text] : view_.messages) m.push_back(text);
    return m;
  }

  static test::TempDir* dir_;
  static std::string db_;
  test::TempDir home_;
  test::FakeEnv env_;
  test::FakeMainView view_;
  DateOrder order_;
  TRegistrySettingsStore store_{test::TempPaths(home_)};
  db::TdmMain dm_;
  std::unique_ptr<TfmMain> fm_;
};

test::TempDir* MainControllerTest::dir_ = nullptr;
std::string MainControllerTest::db_;

TEST_F(MainControllerTest, StartsOnTheFirstPageWithAliasesAndDefaults) {
  EXPECT_EQ(view_.texts[TElement::gbVersion], "Version 1.00.02.015");
  EXPECT_EQ(view_.texts[TElement::bExport], "Next");
  EXPECT_EQ(view_.page, TPage::tsVersion);
  EXPECT_EQ(view_.items[TElement::cbAlias], (std::vector<std::string>{"demo (global)", "DEMO (local)", "MISSING", "ONLY"}));
  EXPECT_EQ(view_.ItemIndex(TElement::cbAlias), -1);
  EXPECT_EQ(view_.texts[TElement::edPath], "");
  EXPECT_EQ(view_.texts[TElement::edUserName], "SYSDBA");
  EXPECT_EQ(view_.texts[TElement::eAir], "A");
  EXPECT_EQ(view_.texts[TElement::eServ], "M");
  EXPECT_EQ(view_.ItemIndex(TElement::cbMapBy), 0);
  EXPECT_EQ(view_.ItemIndex(TElement::cbItinMap), 0);
  EXPECT_EQ(view_.focused, TElement::cbAlias);
  EXPECT_EQ(GetVersionText(""), "<none>");
  EXPECT_EQ(GetVersionText("12.345.6.7777"), "12.345.06.7777");
}

TEST_F(MainControllerTest, FirstPageChecksInTheirOrder) {
  // A name in both scopes: each line gives the path of the scope it names.
  view_.Choose("demo (global)");
  fm_->cbAliasChange();
  EXPECT_EQ(view_.texts[TElement::edPath], home_.File("global.fdb"));
  view_.Choose("DEMO (local)");
  fm_->cbAliasChange();
  EXPECT_EQ(view_.texts[TElement::edPath], db_);
  EXPECT_EQ(view_.hints[TElement::edPath], db_ + "  (Local)");
  view_.SetItemIndex(TElement::cbAlias, -1);  // no line chosen: no path
  fm_->cbAliasChange();
  fm_->bExportClick();
  view_.Choose("MISSING");
  fm_->cbAliasChange();
  fm_->bExportClick();
  view_.texts[TElement::edPassword] = "x";
  fm_->bExportClick();
  FirstPage();
  fm_->edStartInvDate.Box.UserTyped("1/31/14");
  fm_->edEndInvDate.Box.UserTyped("1/1/14");
  fm_->bExportClick();
  fm_->edEndInvDate.Box.UserTyped("");
  fm_->edStartInvNo.Box.UserTyped("500");
  fm_->edEndInvNo.Box.UserTyped("100");
  fm_->bExportClick();
  fm_->edStartInvDate.Box.UserTyped("2/30/24");
  fm_->bExportClick();
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Please enter Alias Name.", "Please enter Password.",
                                                  "Unable to connect to database.\nThe database file was not found (" +
                                                      home_.File("nothing.fdb") + ").",
                                                  "Invalid Invoice Date Range.",
                                                  "Invalid Invoice Number Range.", "Invalid Date. Please enter again."}));
  EXPECT_EQ(view_.page, TPage::tsVersion);
}

TEST_F(MainControllerTest, NoFilterQuestion) {
  FirstPage();
  view_.answers = {TMsgResult::No, TMsgResult::Cancel};
  fm_->bExportClick();
  fm_->bExportClick();
  EXPECT_EQ(view_.page, TPage::tsVersion);
  EXPECT_EQ(view_.messages.size(), 2u);
  EXPECT_EQ(view_.messages[0].first, TMsgKind::Warning);
  EXPECT_EQ(view_.messages[0].second,
            "No filter criteria selected. All Invoices generated via Corvantine will be exported. Continue?");
  fm_->bExportClick();  // answered Yes
  EXPECT_EQ(view_.page, TPage::tsMapping);
  EXPECT_EQ(view_.texts[TElement::bExport], "Export");
  EXPECT_TRUE(view_.panels[TPanel::pTravelCat]);
  EXPECT_FALSE(view_.panels[TPanel::pTravelType]);
  EXPECT_EQ(fm_->gTravelType.Cell(0, 0), "MOVRA Travel Type");
  EXPECT_EQ(fm_->gTravelType.Cell(1, 1), "A");
  EXPECT_EQ(view_.gridChanges, 1);
}

TEST_F(MainControllerTest, OneFilterAsksNothing) {
  FirstPage();
  fm_->edStartInvDate.Box.UserTyped("1/1/23");
  fm_->bExportClick();
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(view_.page, TPage::tsMapping);
}

TEST_F(MainControllerTest, BranchesLoadOnceAndStayAcrossAliases) {
  FirstPage();
  fm_->cbBranch.DropDown();
  EXPECT_EQ(fm_->cbBranch.Items.size(), 7u);
  EXPECT_FALSE(dm_.ZAMDatabase.Connected());
  view_.Choose("MISSING");
  fm_->cbAliasChange();
  fm_->cbBranch.DropDown();  // no reload, no connection
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(fm_->cbBranch.Items.size(), 7u);
  fm_->cbBranch.SetCurrentBranchNo(7);
  EXPECT_EQ(fm_->cbBranch.Text(), "[7] Airport");
}

TEST_F(MainControllerTest, BranchListThatCannotConnect) {
  view_.Choose("MISSING");
  fm_->cbAliasChange();
  fm_->cbBranch.DropDown();
  EXPECT_EQ(view_.LastMessage(), "Unable to connect to database.\nThe database file was not found (" + home_.File("nothing.fdb") + ").");
  ASSERT_EQ(fm_->cbBranch.Items.size(), 1u);  // the all-branches line alone
  EXPECT_EQ(fm_->cbBranch.CurrentBranchNo(), -1);
}

TEST_F(MainControllerTest, MapByPanels) {
  const std::pair<int, std::pair<bool, bool>> cases[] = {{0, {true, false}}, {1, {false, true}}, {-1, {false, false}}};
  for (const auto& [index, shown] : cases) {
    view_.indexes[TElement::cbMapBy] = index;
    fm_->cbMapByChange();
    EXPECT_EQ(view_.panels[TPanel::pTravelCat], shown.first);
    EXPECT_EQ(view_.panels[TPanel::pTravelType], shown.second);
  }
}

TEST_F(MainControllerTest, ExportDoneSavesSettingsAndCloses) {
  FirstPage();
  fm_->bExportClick();
  view_.texts[TElement::eAir] = "";
  fm_->bExportClick();
  EXPECT_EQ(view_.LastMessage(), "Please enter mapping for all Travel Category.");
  view_.indexes[TElement::cbMapBy] = 1;  // the check holds in both modes
  fm_->bExportClick();
  EXPECT_EQ(view_.LastMessage(), "Please enter mapping for all Travel Category.");
  EXPECT_FALSE(fs::exists(home_.File("tovrane/db/IMPINV.DAT")));
  view_.texts[TElement::eAir] = "x";
  fm_->bExportClick();
  EXPECT_EQ(view_.LastMessage().rfind("Export Done.\n", 0), 0u) << view_.LastMessage();
  EXPECT_EQ(view_.texts[TElement::lStatus], "Export Done.");
  EXPECT_TRUE(view_.closed);
  EXPECT_TRUE(fs::exists(home_.File("tovrane/db/IMPINV.DAT")));
  const TSavedSettings saved = store_.Load();
  EXPECT_EQ(saved.alias, "ONLY");
  EXPECT_EQ(saved.categoryLetters[1], "x");
  EXPECT_EQ(saved.mapBy, "Travel Type");
  EXPECT_EQ(saved.travelTypeMap.substr(0, 4), "A;A;");
  EXPECT_TRUE(fm_->FormCloseQuery());
}

TEST_F(MainControllerTest, CancelledFolderChoiceClosesWithoutMessage) {
  fs::remove_all(home_.File("tovrane"));
  view_.folderAnswer = false;
  FirstPage();
  fm_->bExportClick();
  view_.messages.clear();
  fm_->bExportClick();
  EXPECT_EQ(view_.folderAsked, 1);
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(store_.Load().alias, "");  // nothing saved
}

TEST_F(MainControllerTest, FailedRunStaysOnTheMappingPage) {
  FirstPage();
  fm_->bExportClick();
  view_.messages.clear();
  fs::create_directories(home_.File("tovrane/db/IMPINV.DAT"));
  fm_->bExportClick();
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0].first, TMsgKind::Error);
  EXPECT_EQ(view_.messages[0].second,
            "Can not write to file " + home_.File("tovrane/db") + "/IMPINV.DAT.\nA folder of that name is in the way.");
  EXPECT_FALSE(view_.closed);
  EXPECT_EQ(view_.page, TPage::tsMapping);
  EXPECT_TRUE(view_.enabled[TElement::bExport]);
  EXPECT_EQ(store_.Load().alias, "");
  fs::remove(home_.File("tovrane/db/IMPINV.DAT"));
  fm_->bExportClick();
  EXPECT_EQ(view_.LastMessage().rfind("Export Done.\n", 0), 0u) << view_.LastMessage();
}

TEST_F(MainControllerTest, SavedSettingsComeBack) {
  TSavedSettings s = TSavedSettings::Defaults();
  s.alias = "missing";
  s.mapBy = "travel type";
  s.itinMap = 1;
  s.categoryLetters[2] = "";
  store_.Save(s);
  test::FakeMainView view;
  TfmMain fm(view, env_, env_.settings, order_, store_, "");
  fm.FormCreate();
  fm.AttachDataModule(dm_);
  fm.FormShow();
  EXPECT_EQ(view.Text(TElement::cbAlias), "MISSING");
  EXPECT_EQ(view.ItemIndex(TElement::cbMapBy), 1);
  EXPECT_EQ(view.ItemIndex(TElement::cbItinMap), 1);
  EXPECT_EQ(view.texts[TElement::eHotel], "");
  EXPECT_EQ(view.texts[TElement::gbVersion], "Version <none>");
}

}  // namespace
}  // namespace iex

namespace iex {
namespace {

TEST(InvoiceNumberFields, TakeFifteenDigitsAndRefuseMoreWithTheRangeMessage) {
  TNumEdit field;
  ConfigureInvoiceNumberEdit(field);
  field.SetEditText("999999999999999");
  EXPECT_EQ(field.Value(), 999999999999999);
  try {
    field.SetEditText("1234567890123456");
    FAIL() << "a number the filter would change was taken";
  } catch (const EMvError& e) {
    EXPECT_STREQ(e.what(), "Invalid Number.  Number must be in range 0 .. 999999999999999");
  }
}

}  // namespace
}  // namespace iex
