// The Win32 window, driven by the keyboard through its own message loop's
// dispatch, as a person's keys reach it: the first page, the date and number
// fields, the mapping page and its grid, a run's locked page, the close
// question. Needs a display (Wine on Xvfb); no database is reached.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <atomic>
#include <thread>
#include <filesystem>

#include "FakeEnv.h"
#include "MemoryExportSource.h"
#include "TempPaths.h"
#include "aliases/AliasRegistry.h"
#include "app/RegistrySettingsStore.h"
#include "app/TravelTypeGrid.h"
#include "app/win/MainWindow.h"
#include "app/win/FolderChooser.h"
#include "app/win/MessageBox.h"
#include "app/win/Resources.h"
#include "app/win/WindowText.h"

namespace iex {
namespace {

using win::TMainWindow;

// A key as the message loop hands it over: to the control with the focus.
void Key(TMainWindow& w, WPARAM vk, bool alt = false) {
  MSG m{};
  m.hwnd = GetFocus();
  m.message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  m.wParam = vk;
  m.lParam = alt ? (1 << 29) : 0;
  w.Dispatch(m);
  m.message = alt ? WM_SYSKEYUP : WM_KEYUP;
  m.lParam |= 0xC0000000;
  w.Dispatch(m);
  w.Pump();
}

// Alt+letter: the mnemonic, as Windows delivers it after Alt+key.
void Mnemonic(TMainWindow& w, wchar_t letter) {
  MSG m{};
  m.hwnd = GetFocus();
  m.message = WM_SYSCHAR;
  m.wParam = letter;
  m.lParam = 1 << 29;
  w.Dispatch(m);
  w.Pump();
}

void Type(TMainWindow& w, const std::wstring& text) {
  for (wchar_t c : text) {
    MSG m{};
    m.hwnd = GetFocus();
    m.message = WM_CHAR;
    m.wParam = c;
    w.Dispatch(m);
  }
  w.Pump();
}

class WinMainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.paths = test::TempPaths(dir_);
    env_.root = dir_.Path() + "/";
    TAliasRegistry(TAliasDBType::adtIB, env_.paths).AddAlias("DEMO", "C:\\agency\\demo.fdb");
    store_ = std::make_unique<TRegistrySettingsStore>(env_.paths);
    window_ = std::make_unique<TMainWindow>(env_, env_.settings, order_, *store_, "1.0.2.15");
    window_->MessageBoxHook = [this](const TMessage& m) {
      messages_.push_back(m);
      if (m.buttons == TMsgButtons::OK) return TMsgResult::OK;
      return m.defaultNo ? TMsgResult::No : TMsgResult::Yes;
    };
    window_->OnClosed = [this] { closed_ = true; };
    window_->Start(dm_);
    window_->Pump();
  }
  void TearDown() override { window_.reset(); }

  TMainWindow& W() { return *window_; }
  HWND Element(TElement e) { return window_->Widget(e); }
  std::string LastMessage() const { return messages_.empty() ? std::string() : messages_.back().text; }

  test::TempDir dir_;
  test::FakeEnv env_;
  DateOrder order_ = InitDateOrder(env_.settings);
  std::unique_ptr<TRegistrySettingsStore> store_;
  db::TdmMain dm_;
  std::unique_ptr<TMainWindow> window_;
  std::vector<TMessage> messages_;
  bool closed_ = false;
};

TEST_F(WinMainWindow, FirstPageByKeyboard) {
  ASSERT_TRUE(W().IsVisible());
  EXPECT_EQ(win::WindowTextOf(W().Handle()), "Invoice Export Utility");
  EXPECT_EQ(GetFocus(), Element(TElement::cbAlias));
  EXPECT_EQ(W().Text(TElement::bExport), "Next");
  EXPECT_EQ(win::WindowTextOf(Element(TElement::bExport)), "&Next");  // Alt+N

  Key(W(), VK_DOWN);
  EXPECT_EQ(W().Text(TElement::cbAlias), "DEMO");
  EXPECT_EQ(W().Text(TElement::edPath), "C:\\agency\\demo.fdb");
  EXPECT_EQ(W().Text(TElement::edUserName), "SYSDBA");

  Key(W(), VK_RETURN);  // Enter anywhere presses Next
  EXPECT_EQ(LastMessage(), "Please enter Password.");
  EXPECT_EQ(W().CurrentPage(), TPage::tsVersion);
  EXPECT_EQ(GetFocus(), Element(TElement::edPassword)) << "after a message, the field concerned";
  Key(W(), VK_TAB);

  Mnemonic(W(), L'w');
  ASSERT_EQ(GetFocus(), Element(TElement::edPassword));
  Type(W(), L"secret");
  EXPECT_EQ(W().Text(TElement::edPassword), "secret");
  EXPECT_EQ(GetWindowLongPtrW(Element(TElement::edPassword), GWL_STYLE) & ES_PASSWORD, ES_PASSWORD);
  Key(W(), VK_RETURN);
  // No client library beside the tests: the connection's failure, in words.
  EXPECT_NE(LastMessage().find("fbclient.dll"), std::string::npos) << LastMessage();
  EXPECT_EQ(W().CurrentPage(), TPage::tsVersion);

  Key(W(), VK_ESCAPE);  // no run: Escape closes without a question
  EXPECT_TRUE(closed_);
  EXPECT_FALSE(W().IsVisible());
}

TEST_F(WinMainWindow, NumberAndDateFields) {
  Mnemonic(W(), L'i');  // "&Invoice No."
  ASSERT_EQ(GetFocus(), Element(TElement::edStartInvNo));
  Type(W(), L"12x3");
  EXPECT_EQ(W().Text(TElement::edStartInvNo), "123") << "a number field takes digits only";

  Mnemonic(W(), L'd');  // "Invoice &Date"
  ASSERT_EQ(GetFocus(), Element(TElement::edStartInvDate));
  Type(W(), L"13/45/2024");
  Key(W(), VK_TAB);
  EXPECT_EQ(LastMessage(), "Invalid Date. Please enter again.");
  EXPECT_EQ(GetFocus(), Element(TElement::edStartInvDate)) << "a failed check keeps the focus";

  SetWindowTextW(Element(TElement::edStartInvDate), L"");
  Key(W(), VK_DOWN, true);  // Alt+Down opens the calendar at today
  auto& drop = W().DateDropDown(TElement::edStartInvDate);
  ASSERT_TRUE(drop.IsOpen());
  EXPECT_EQ(GetFocus(), drop.Calendar());
  Key(W(), VK_RIGHT);
  Key(W(), VK_RETURN);  // Enter picks the day
  EXPECT_FALSE(drop.IsOpen());
  EXPECT_EQ(W().Text(TElement::edStartInvDate), "5/16/2024");
  EXPECT_EQ(GetFocus(), Element(TElement::edStartInvDate));
}

TEST_F(WinMainWindow, MappingPageLettersAndGrid) {
  W().ShowPage(TPage::tsMapping);
  W().Pump();
  EXPECT_EQ(GetFocus(), Element(TElement::cbMapBy));
  EXPECT_EQ(W().Items(TElement::cbMapBy), (std::vector<std::string>{"Travel Category", "Travel Type"}));
  EXPECT_EQ(W().Items(TElement::cbItinMap), (std::vector<std::string>{"Varies by Travel Category", "Vendor Name"}));

  Mnemonic(W(), L'a');  // "&Air"
  ASSERT_EQ(GetFocus(), Element(TElement::eAir));
  Type(W(), L"xy");
  EXPECT_EQ(W().Text(TElement::eAir), "x") << "one letter";
  Mnemonic(W(), L'u');  // "Cr&uise"
  EXPECT_EQ(GetFocus(), Element(TElement::eCruise));

  TStringGrid& grid = W().Controller().gTravelType;
  grid.SetCell(0, 1, "Air");
  grid.SetCell(1, 1, "A");
  grid.SetCell(0, 2, "Hotel");
  grid.SetCell(1, 2, "H");
  W().GridChanged();
  W().ShowPanel(TPanel::pTravelCat, false);
  W().ShowPanel(TPanel::pTravelType, true);
  W().Focus(TElement::gTravelType);
  W().Pump();
  win::TTravelTypeList& list = W().Grid();
  ASSERT_EQ(GetFocus(), list.Handle());
  EXPECT_EQ(list.CurrentRow(), 0);
  Key(W(), VK_F2);
  ASSERT_TRUE(list.Editing());
  EXPECT_EQ(GetFocus(), list.EditHandle());
  SendMessageW(list.EditHandle(), EM_SETSEL, 0, -1);
  Type(W(), L"q");
  Key(W(), VK_RETURN);  // ends the edit and moves down, never the export
  EXPECT_FALSE(list.Editing());
  EXPECT_EQ(grid.Cell(1, 1), "q");
  EXPECT_EQ(list.CurrentRow(), 1);
  EXPECT_TRUE(messages_.empty());

  Type(W(), L"z");  // a letter on a row opens the edit with it
  ASSERT_TRUE(list.Editing());
  W().CommitEdits();  // what the export reads: the open edit's letter
  EXPECT_EQ(grid.Cell(1, 2), "z");

  Key(W(), VK_TAB);  // Tab leaves the grid
  EXPECT_NE(GetFocus(), list.Handle());
}

TEST_F(WinMainWindow, ARunLocksThePageAndReportsBackOnTheWindowsThread) {
  W().LockInputs(true);
  EXPECT_FALSE(IsWindowEnabled(W().Page(TPage::tsVersion)));
  EXPECT_FALSE(IsWindowEnabled(Element(TElement::bExport)));
  EXPECT_TRUE(IsWindowVisible(Element(TElement::bStop)));
  EXPECT_NE(GetFocus(), Element(TElement::bStop)) << "Stop never holds the keyboard during a run";
  EXPECT_TRUE(IsWindowVisible(W().ProgressBar()));

  const DWORD ui = GetCurrentThreadId();
  DWORD calledOn = 0, doneOn = 0;
  std::string error;
  bool done = false;
  W().RunInBackground(
      [&] {
        W().CallOnUiThread([&] { calledOn = GetCurrentThreadId(); });
        throw EMvError("the database went away");
      },
      [&](std::exception_ptr e) {
        doneOn = GetCurrentThreadId();
        try {
          if (e) std::rethrow_exception(e);
        } catch (const std::exception& x) {
          error = x.what();
        }
        done = true;
      });
  for (int i = 0; i < 500 && !done; ++i) {
    W().Pump();
    Sleep(10);
  }
  ASSERT_TRUE(done);
  EXPECT_EQ(calledOn, ui);
  EXPECT_EQ(doneOn, ui);
  EXPECT_EQ(error, "the database went away");
  W().LockInputs(false);
  EXPECT_TRUE(IsWindowEnabled(W().Page(TPage::tsVersion)));
  EXPECT_FALSE(IsWindowVisible(Element(TElement::bStop)));
  EXPECT_EQ(GetFocus(), Element(TElement::bExport));
}

// The mapping page as Next leaves it, with rows of the test's own for the run.
class WinMainWindowRun : public WinMainWindow {
 protected:
  void SetUp() override {
    WinMainWindow::SetUp();
    std::filesystem::create_directories(PathOfText(dir_.File("tovrane/db")));
    W().Controller().MakeSource = [this] {
      auto s = std::make_unique<test::MemoryExportSource>();
      test::FillAgency(*s, 40);
      s->beforeRow = [this](long row) {
        if (row != 30) return;
        held_ = true;
        while (!release_) Sleep(5);
      };
      return s;
    };
    W().ShowPage(TPage::tsMapping);
    W().SetText(TElement::bExport, "Export");
    W().SetItemIndex(TElement::cbMapBy, 0);
    W().SetItemIndex(TElement::cbItinMap, 0);
    for (TElement e : {TElement::eAir, TElement::eHotel, TElement::eCar, TElement::eCruise, TElement::eTour,
                       TElement::eRail, TElement::eTrans, TElement::eIns, TElement::eServ, TElement::eOther})
      W().SetText(e, "X");
    W().Pump();
  }
  void TearDown() override {
    release_ = true;
    WinMainWindow::TearDown();
  }
  // Serves the window until `done` holds (at most a minute).
  template <class F>
  bool PumpUntil(F done) {
    for (int i = 0; i < 6000 && !done(); ++i) {
      W().Pump();
      Sleep(10);
    }
    return done();
  }
  std::atomic<bool> held_{false}, release_{false};
};

TEST_F(WinMainWindowRun, UnderwayEscapeIsInertTheCloseQuestionSaysNoAndStopKeepsThePreviousFiles) {
  Mnemonic(W(), L'e');  // Alt+E: Export
  ASSERT_TRUE(PumpUntil([&] { return held_.load(); })) << LastMessage();
  EXPECT_TRUE(W().Controller().ExportRunning());
  EXPECT_TRUE(IsWindowVisible(W().ProgressBar()));
  EXPECT_NE(win::WindowTextOf(W().Phase()).find("0:0"), std::string::npos) << "the elapsed time";
  EXPECT_FALSE(IsWindowEnabled(W().Page(TPage::tsMapping)));
  EXPECT_NE(GetFocus(), Element(TElement::bStop)) << "Stop never holds the keyboard during a run";

  Key(W(), VK_ESCAPE);
  EXPECT_TRUE(W().IsVisible()) << "Escape does nothing during a run";
  SendMessageW(W().Handle(), WM_CLOSE, 0, 0);
  ASSERT_FALSE(messages_.empty());
  EXPECT_EQ(messages_.back().text, "Stop the export and close?");
  EXPECT_TRUE(messages_.back().defaultNo);
  EXPECT_TRUE(W().IsVisible()) << "No: the run goes on";
  EXPECT_TRUE(W().Controller().ExportRunning());

  Key(W(), VK_RETURN);
  Key(W(), VK_SPACE);
  EXPECT_TRUE(W().Controller().ExportRunning()) << "stray Enter and Space stop nothing";
  Mnemonic(W(), L's');  // Alt+S: Stop
  release_ = true;
  ASSERT_TRUE(PumpUntil([&] { return !W().Controller().ExportRunning(); }));
  W().Pump();
  EXPECT_EQ(W().Text(TElement::lStatus), "Export stopped.");
  EXPECT_EQ(W().Text(TElement::lStatusNo), "The previous import files are unchanged.");
  EXPECT_FALSE(std::filesystem::exists(PathOfText(dir_.File("tovrane/db/IMPINV.DAT"))));
  EXPECT_TRUE(IsWindowEnabled(W().Page(TPage::tsMapping)));
  EXPECT_TRUE(W().IsVisible());
}

TEST_F(WinMainWindowRun, AnOpenGridEditIsExportedAsItIsSaved) {
  release_ = true;
  W().SetItemIndex(TElement::cbMapBy, 1);
  W().Controller().cbMapByChange();
  TStringGrid& grid = W().Controller().gTravelType;
  grid.SetCell(0, 1, "Air");
  grid.SetCell(1, 1, "A");
  W().GridChanged();
  W().Focus(TElement::gTravelType);
  W().Pump();
  Key(W(), VK_F2);
  ASSERT_TRUE(W().Grid().Editing());
  SendMessageW(W().Grid().EditHandle(), EM_SETSEL, 0, -1);
  Type(W(), L"q");
  Mnemonic(W(), L'e');  // Alt+E with the cell still open
  ASSERT_TRUE(PumpUntil([&] { return closed_; })) << LastMessage();
  EXPECT_EQ(LastMessage().rfind("Export Done.\n", 0), 0u) << LastMessage();
  EXPECT_EQ(grid.Cell(1, 1), "q");
  EXPECT_EQ(store_->Load(nullptr).travelTypeMap.substr(0, 2), "Q;") << "saved";
  EXPECT_GT(std::filesystem::file_size(PathOfText(dir_.File("tovrane/db/IMPINV.DAT"))), 0u);
}

TEST_F(WinMainWindow, EnterOnAFocusedCloseCloses) {
  W().Focus(TElement::bExit);
  W().Pump();
  ASSERT_EQ(GetFocus(), Element(TElement::bExit));
  Key(W(), VK_RETURN);
  EXPECT_TRUE(closed_);
  EXPECT_TRUE(messages_.empty()) << "Close, not Next";
}

// The shell's folder chooser, answered from another thread once it shows.
std::wstring gChooserTitle;
bool ChooseAndAnswer(WORD button, const std::string& start, std::string& chosen) {
  gChooserTitle.clear();
  std::thread answer([button] {
    for (int i = 0; i < 2000; ++i) {
      if (HWND box = FindWindowW(nullptr, L"Invoice Export Utility")) {
        wchar_t title[128] = {};
        GetWindowTextW(box, title, 128);
        gChooserTitle = title;
        Sleep(200);  // its folder view filled
        PostMessageW(box, WM_COMMAND, button, 0);
        return;
      }
      Sleep(10);
    }
  });
  const bool ok = win::ChooseOutputFolder(nullptr, "C:/tovrane/db", start, chosen);
  answer.join();
  return ok;
}

TEST(WinFolderChooser, OpensUnderTheProgramsNameAndCancelChoosesNothing) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));  // as the window does
  test::TempDir dir;
  std::string chosen;
  EXPECT_FALSE(ChooseAndAnswer(IDCANCEL, dir.Path(), chosen));
  EXPECT_EQ(gChooserTitle, L"Invoice Export Utility");
  EXPECT_TRUE(chosen.empty());
  CoUninitialize();
}

// The real message box: Enter gives the default answer, No for the close
// question, Yes otherwise.
TMsgResult AnswerWithEnter(const TMessage& m) {
  static std::atomic<bool> pressed;
  pressed = false;
  SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = GetActiveWindow();
    if (!box || pressed) return;
    pressed = true;
    KillTimer(nullptr, id);
    PostMessageW(GetFocus() ? GetFocus() : box, WM_KEYDOWN, VK_RETURN, 0);
  });
  return win::ShowMessageBox(nullptr, "Invoice Export Utility", m);
}

TEST(WinMessageBox, EnterGivesTheDefaultAnswer) {
  EXPECT_EQ(AnswerWithEnter({TMsgKind::Warning, "Stop the export and close?", TMsgButtons::YesNo, "", true}),
            TMsgResult::No);
  EXPECT_EQ(AnswerWithEnter({TMsgKind::Warning, "Continue?", TMsgButtons::YesNo, "", false}), TMsgResult::Yes);
}

}  // namespace
}  // namespace iex
