// Renders the Windows window to BMP files, as the screen shows it: the first
// page with an alias chosen and a filter typed, the mapping page by travel
// type, a run under way and one finished. No database is reached: the grid
// holds sample travel types and the run writes rows held in memory.
//   screenshots-windows OUTPUT_FOLDER PREFIX
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Version.h"
#include "MemoryExportSource.h"
#include "app/RegistrySettingsStore.h"
#include "app/win/MainWindow.h"
#include "util/DateOrder.h"

namespace {

// The window's screen area as a 24-bit BMP file.
bool SaveWindow(HWND w, const std::string& path) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  GdiFlush();
  for (int i = 0; i < 10; ++i) {  // what was drawn reaches the screen
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(30);
  }
  // The client area: Wine's own caption is not what Windows draws.
  RECT r{};
  GetClientRect(w, &r);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::string pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), '\0');
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

void Settle(iex::win::TMainWindow& window) {
  for (int i = 0; i < 20; ++i) {
    window.Pump();
    Sleep(25);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: screenshots-windows OUTPUT_FOLDER PREFIX\n");
    return 2;
  }
  const std::string out = std::string(argv[1]) + "/" + argv[2];
  iex::Env& env = iex::DefaultEnv();
  const iex::TDateFormats formats = iex::StartDateFormats(env.Regional());
  iex::TRegistrySettingsStore store(env.Paths());
  iex::db::TdmMain dm;
  iex::win::TMainWindow window(env, formats.regional, formats.order, store, IEX_VERSION);
  window.Start(dm);
  using iex::TElement;
  window.SetItemIndex(TElement::cbAlias, 0);
  window.Controller().cbAliasChange();
  window.SetText(TElement::edPassword, "password");
  window.SetText(TElement::edStartInvDate, "5/1/2026");
  window.SetText(TElement::edEndInvDate, "5/31/2026");
  window.Focus(TElement::edPassword);
  Settle(window);
  if (!SaveWindow(window.Handle(), out + "-page1.bmp")) return 1;

  iex::TStringGrid& grid = window.Controller().gTravelType;
  const char* types[][2] = {{"Air", "A"},        {"Hotel", "H"},   {"Car Rental", "C"}, {"Cruise", "U"},
                            {"Tour Package", "T"}, {"Rail", "R"},  {"Transfer", "N"},   {"Insurance", "I"},
                            {"Service Fee", "F"},  {"Other", "O"}};
  int row = 1;
  for (const auto& t : types) {
    grid.SetCell(0, row, t[0]);
    grid.SetCell(1, row++, t[1]);
  }
  window.ShowPage(iex::TPage::tsMapping);
  window.SetItemIndex(TElement::cbMapBy, 1);
  window.SetItemIndex(TElement::cbItinMap, 0);
  window.ShowPanel(iex::TPanel::pTravelCat, false);
  window.ShowPanel(iex::TPanel::pTravelType, true);
  window.GridChanged();
  window.SetText(TElement::bExport, "Export");
  window.Focus(TElement::gTravelType);
  Settle(window);
  if (!SaveWindow(window.Handle(), out + "-page2.bmp")) return 1;

  // A run: held a third of the way for its picture, then to its end.
  std::atomic<bool> held{false}, release{false};
  window.Controller().MakeSource = [&] {
    auto source = std::make_unique<iex::test::MemoryExportSource>();
    iex::test::FillAgency(*source, 3000);
    source->beforeRow = [&](long row) {
      if (row != 6000 + 2000) return;
      held = true;
      while (!release) Sleep(5);
    };
    return source;
  };
  bool savedDone = true;
  window.MessageBoxHook = [&](const iex::TMessage&) {
    savedDone = SaveWindow(window.Handle(), out + "-done.bmp");
    return iex::TMsgResult::OK;
  };
  std::filesystem::create_directories(std::filesystem::path(env.FileSystemRoot()) / "tovrane" / "db");
  window.Controller().bExportClick();
  while (!held) window.Pump();
  Sleep(1200);  // the elapsed time shows a second
  Settle(window);
  const bool savedRun = SaveWindow(window.Handle(), out + "-running.bmp");
  release = true;
  while (window.IsVisible()) {
    window.Pump();
    Sleep(10);
  }
  return savedRun && savedDone ? 0 : 1;
}
