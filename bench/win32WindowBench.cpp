// The Windows window's timings under Wine: opening a list of N downloads with
// the window against the same load without one, the filter over the list,
// moving half of it to the trash, and the peak memory.
// Usage: win32WindowBench.exe [downloads]   (default 100000)

#include <windows.h>
// After the system header it needs.
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "winapp/main.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string WriteList(int count) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("brimlow_bench_" + std::to_string(count) + ".xml");
  std::ofstream out(path, std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<DownloadList Version=\"4\">\r\n";
  for (int id = 1; id <= count; ++id)
    out << "<DownloadFile><ID>" << id << "</ID><URL>http://example.com/files/" << id
        << ".zip</URL><FileName>C:\\Downloads\\Архив\\file_" << id << ".zip</FileName><State>"
        << id % 7 << "</State><Size>" << id * 1000LL
        << "</Size><Date>03/01/2008 14:05:09</Date><NodeID>5</NodeID><Comment>Комментарий " << id
        << "</Comment></DownloadFile>\r\n";
  out << "</DownloadList>\r\n";
  return path.string();
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::string list = WriteList(count);

  double bare = 1e9;
  for (int round = 0; round < 2; ++round) {  // the second with the file cached
    brimlow::TCleaner cleaner;
    const auto started = Clock::now();
    cleaner.LoadList(list);
    bare = std::min(bare, Seconds(started));
  }

  brimlow::TForm2 window;
  window.Cleaner().SetHostControl(false);
  ShowWindow(window.Handle(), SW_SHOW);
  UpdateWindow(window.Handle());
  double shown = 1e9;
  for (int round = 0; round < 2; ++round) {
    const auto started = Clock::now();
    window.LoadList(list);
    // Shown: the list view has painted its first rows.
    RedrawWindow(window.Ui().treeLeft, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    shown = std::min(shown, Seconds(started));
  }

  auto started = Clock::now();
  window.Cleaner().RunFilter(window.ReadFilterInputs());
  const double bareFilter = Seconds(started);
  window.noSelectionExecute();
  started = Clock::now();
  window.doSelectExecute();
  const double filter = Seconds(started);

  window.noSelectionExecute();
  std::vector<uint8_t> half(static_cast<size_t>(count / 2), 1);
  window.Cleaner().Downloads().SetChecks(0, half);
  started = Clock::now();
  window.moveExecute();
  UpdateWindow(window.Handle());
  const double move = Seconds(started);

  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("downloads                 %d\n", count);
  std::printf("load without a window     %.3f s\n", bare);
  std::printf("load until the list shows %.3f s (%+.1f %%)\n", shown, (shown / bare - 1) * 100);
  std::printf("filter, window painting   %.3f s\n", filter);
  std::printf("filter, no painting       %.3f s\n", bareFilter);
  std::printf("move %d to the trash   %.3f s\n", count / 2, move);
  std::printf("peak working set          %.1f MB\n", memory.PeakWorkingSetSize / 1048576.0);
  std::filesystem::remove(list);
  return 0;
}
