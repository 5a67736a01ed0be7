// What the file criterion and the file actions cost on 100,000 downloads,
// beside the code they replaced, in the same run: the filter by file state
// with its probes of the drive roots against one existence test per
// download, and the file pass of "Удалить вместе с файлами" over 50,000
// trash entries, erasing and recycling, against the plain erasing loop.
//
// The downloads name Windows paths on drive C: of a scratch Wine prefix, so
// that every file test goes through the drive mapping as under Wine; the
// recycle bin is the desktop trash in a scratch data folder.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "data/downloadsList.h"
#include "platform/platform.h"
#include "summaryReporter.h"
#include "workflow/cleaner.h"
#include "workflow/trashFiles.h"

namespace brimlow {
namespace {

namespace fs = std::filesystem;

constexpr int kListSize = 100'000;
constexpr int kTrashSize = 50'000;
constexpr int kFilesOnDisk = 20'000;  // the rest of the names are absent

const fs::path& Scratch() {
  static const fs::path folder = fs::temp_directory_path() / "brimlow-clean-files-bench";
  return folder;
}
fs::path DriveC() {
  return Scratch() / "drive_c";
}
// A hundred files a folder, as downloads sorted into folders lie: a name
// that is not there costs a look through its folder.
std::string Folder(int i) {
  return std::to_string(i / 100);
}
std::string WindowsName(int i) {
  return "C:\\dl\\" + Folder(i) + "\\file" + std::to_string(i) + ".bin";
}

void MakeFiles(int first, int count) {
  for (int i = first; i < first + count; ++i) {
    const fs::path folder = DriveC() / "dl" / Folder(i);
    if (i % 100 == 0 || i == first) fs::create_directories(folder);
    std::ofstream(folder / ("file" + std::to_string(i) + ".bin")) << 'x';
  }
}

// Download i names file i % (2 * kFilesOnDisk): half of the names are there.
const TDownloadsList& FilterList() {
  static const std::unique_ptr<TDownloadsList> list = [] {
    auto made = std::make_unique<TDownloadsList>();
    for (int i = 0; i < kListSize; ++i) {
      Tdownload& d = made->Add();
      d.ID = static_cast<uint32_t>(i + 1);
      d.FileName = WindowsName(i % (2 * kFilesOnDisk));
      d.Size = 1000;
    }
    return made;
  }();
  return *list;
}

void FilterBefore(benchmark::State& state) {
  // One existence test per download, as the filter did.
  platform::Platform& os = platform::current();
  const TDownloadsList& list = FilterList();
  for (auto _ : state) {
    int missing = 0;
    for (int i = 0; i < list.Count(); ++i)
      missing += list[i].FileName.empty() || !os.fileExists(list[i].FileName);
    benchmark::DoNotOptimize(missing);
  }
}

void FilterNow(benchmark::State& state) {
  TCleaner cleaner;
  const std::string listFile = (Scratch() / "list.xml").string();
  FilterList().SaveToFile(listFile);
  cleaner.LoadList(listFile);
  TFilterInputs inputs;
  inputs.file = TFilePresence::Missing;
  for (auto _ : state) {
    cleaner.RunFilter(inputs);
    benchmark::DoNotOptimize(cleaner.Downloads().CheckedCount());
  }
}

// The trash: 50,000 entries naming files that are made afresh for each run;
// the list: 50,000 other downloads staying.
struct FilePassLists {
  TDownloadsList trash;
  TDownloadsList list;
};
const FilePassLists& PassLists() {
  static const std::unique_ptr<FilePassLists> lists = [] {
    auto made = std::make_unique<FilePassLists>();
    for (int i = 0; i < kListSize; ++i) {
      Tdownload& d = (i < kTrashSize ? made->trash : made->list).Add();
      d.ID = static_cast<uint32_t>(i + 1);
      d.FileName = WindowsName(kListSize + i);
      d.Size = 1000;
    }
    return made;
  }();
  return *lists;
}

template <typename Pass>
void TimeFilePass(benchmark::State& state, Pass pass) {
  for (auto _ : state) {
    state.PauseTiming();
    MakeFiles(kListSize, kTrashSize);
    state.ResumeTiming();
    pass();
  }
}

void FilePassBefore(benchmark::State& state) {
  platform::Platform& os = platform::current();
  const TDownloadsList& trash = PassLists().trash;
  TimeFilePass(state, [&] {
    int undeleted = 0;
    for (int i = 0; i < trash.Count(); ++i)
      if (!os.deleteFile(trash[i].FileName) && os.fileExists(trash[i].FileName)) ++undeleted;
    benchmark::DoNotOptimize(undeleted);
  });
}

void FilePassErasing(benchmark::State& state) {
  TimeFilePass(state, [] {
    benchmark::DoNotOptimize(RemoveTrashFiles(PassLists().trash, PassLists().list, false));
  });
}

void FilePassRecycling(benchmark::State& state) {
  TimeFilePass(state, [&state] {
    const TFilePassOutcome outcome = RemoveTrashFiles(PassLists().trash, PassLists().list, true);
    if (outcome.recycled != kTrashSize) state.SkipWithError("the trash did not take every file");
    // The bin is emptied outside the timing, so that every run starts alike.
    state.PauseTiming();
    fs::remove_all(Scratch() / "data" / "Trash");
    state.ResumeTiming();
  });
}

BENCHMARK(FilterBefore)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FilterNow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FilePassBefore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(FilePassErasing)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(FilePassRecycling)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void Ratio(const bench::SummaryReporter& reporter, const char* what, const char* now,
           const char* before) {
  const double base = reporter.Of(before);
  if (base > 0)
    printf("%-40s %8.1f ms  %5.2fx before\n", what, reporter.Of(now) * 1e3,
           reporter.Of(now) / base);
}

}  // namespace
}  // namespace brimlow

int main(int argc, char** argv) {
  using namespace brimlow;
  fs::remove_all(Scratch());
  fs::create_directories(Scratch() / "prefix" / "dosdevices");
  fs::create_directory_symlink(DriveC(), Scratch() / "prefix" / "dosdevices" / "c:");
  MakeFiles(0, kFilesOnDisk);
  setenv("WINEPREFIX", (Scratch() / "prefix").c_str(), 1);
  // GLib reads the data folder once, at its first use.
  setenv("XDG_DATA_HOME", (Scratch() / "data").c_str(), 1);
  benchmark::Initialize(&argc, argv);
  bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  Ratio(reporter, "filter by file state, 100,000", "FilterNow", "FilterBefore");
  Ratio(reporter, "file pass erasing 50,000", "FilePassErasing", "FilePassBefore");
  Ratio(reporter, "file pass recycling 50,000", "FilePassRecycling", "FilePassBefore");
  fs::remove_all(Scratch());
  return 0;
}
