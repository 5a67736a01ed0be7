// The Windows window's figures under Wine, on a list written by
// brimlow-bench-list: opening it with the window against the same load
// without one, the filter, moving half of it to the trash, and the peak
// memory.  brimlow-window-bench --figures measures the same steps in the Qt
// window and prints them the same way (scripts/window-figures.sh runs both).
// Usage: win32WindowBench.exe LIST_FILE

#include <windows.h>
// After the system header it needs.
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "winapp/main.h"
#include "windowFigures.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

void SetDate(HWND field, WORD year, WORD month, WORD day) {
  SYSTEMTIME time{year, month, 0, day, 0, 0, 0, 0};
  SendMessageW(field, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

// The filter both windows' figures run: a state, a size and a date range and
// a text in any field, so that every download goes through most criteria.
void SetFiguresFilter(const brimlow::TForm2Ui& ui) {
  SendMessageW(ui.stateBox, CB_SETCURSEL, 2, 0);
  SetWindowTextW(ui.size1, L"0");
  SetWindowTextW(ui.size2, L"9000000");
  SetDate(ui.date1, 2004, 1, 1);
  SetDate(ui.date2, 2013, 12, 31);
  SetWindowTextW(ui.searchText, L"setup");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: win32WindowBench LIST_FILE\n");
    return 2;
  }
  const std::string list = argv[1];

  double bare = 1e9;
  for (int round = 0; round < 2; ++round) {  // the second with the file cached
    brimlow::TCleaner cleaner;
    const auto started = Clock::now();
    cleaner.LoadList(list);
    bare = std::min(bare, Seconds(started));
  }

  // Each round a new window, as each bare load a new cleaner: freeing the
  // list before is no part of either.
  std::unique_ptr<brimlow::TForm2> shownWindow;
  double shown = 1e9;
  for (int round = 0; round < 2; ++round) {
    shownWindow.reset();
    shownWindow = std::make_unique<brimlow::TForm2>();
    brimlow::TForm2& window = *shownWindow;
    window.Cleaner().SetHostControl(false);
    ShowWindow(window.Handle(), SW_SHOW);
    UpdateWindow(window.Handle());
    const auto started = Clock::now();
    window.LoadList(list);
    // Shown: the list view has painted its first rows.
    RedrawWindow(window.Ui().treeLeft, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    shown = std::min(shown, Seconds(started));
  }
  brimlow::TForm2& window = *shownWindow;

  SetFiguresFilter(window.Ui());
  auto started = Clock::now();
  window.doSelectExecute();
  UpdateWindow(window.Handle());
  const double filter = Seconds(started);
  const int marked = window.Cleaner().Downloads().CheckedCount();

  window.noSelectionExecute();
  const int count = window.Cleaner().Downloads().Count();
  window.Cleaner().Downloads().SetChecks(0,
                                         std::vector<uint8_t>(static_cast<size_t>(count / 2), 1));
  started = Clock::now();
  window.moveExecute();
  UpdateWindow(window.Handle());
  const double move = Seconds(started);

  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  brimlow::bench::PrintWindowFigures(
      {count, bare, shown, filter, marked, move, memory.PeakWorkingSetSize / 1048576.0});
  return 0;
}
