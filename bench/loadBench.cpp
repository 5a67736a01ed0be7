// The load benchmark: a downloads list of 10,000, 100,000 and 500,000
// downloads read into a TDownloadsList, and beside it, in the same run, the
// same file read with expat and with pugixml into the same records.  Prints
// the speed of each, the ratios of the times, the time per download across
// the sizes, and the peak memory of one load relative to the file size (each
// load measured in a fresh process of its own).
//
//   brimlow-load-bench [LISTS_FOLDER] [benchmark options]
//   brimlow-load-bench --peak brimlow|expat|pugixml|none FILE   (used by the above)

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "data/downloadsList.h"
#include "expatPeer.h"
#include "platform/platform.h"
#include "pugixmlPeer.h"
#include "summaryReporter.h"

namespace fs = std::filesystem;
using namespace brimlow;

namespace {

const int kSizes[] = {10000, 100000, 500000};
const char* const kPeers[] = {"brimlow", "expat", "pugixml"};

std::string ListPath(const fs::path& folder, int size) {
  return (folder / ("list_" + std::to_string(size) + ".xml")).string();
}

size_t LoadOnce(const std::string& peer, const std::string& file) {
  if (peer == "brimlow") return static_cast<size_t>(TDownloadsList(file).Count());
  if (peer == "expat") return bench::LoadWithExpat(file).Items.size();
  if (peer == "pugixml") return bench::LoadWithPugixml(file).Items.size();
  return 0;
}

void Load(benchmark::State& state, const std::string& peer, const std::string& file) {
  size_t count = 0;
  for (auto _ : state) {
    count = LoadOnce(peer, file);
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(fs::file_size(file)));
  state.counters["downloads"] = static_cast<double>(count);
}

// Peak resident memory, in bytes, of one load in a new process.  The child
// reports its own high-water mark: the rusage of a forked child would still
// count the parent's memory from before the exec.
long PeakOfOneLoad(const std::string& peer, const std::string& file) {
  const std::string command =
      "/proc/" + std::to_string(getpid()) + "/exe --peak " + peer + " '" + file + "'";
  FILE* child = popen(command.c_str(), "r");
  if (!child) return -1;
  long kilobytes = -1;
  if (std::fscanf(child, "%ld", &kilobytes) != 1) kilobytes = -1;
  return pclose(child) == 0 && kilobytes >= 0 ? kilobytes * 1024L : -1;
}

// The VmHWM line of /proc/self/status, in kilobytes.
long OwnPeakKilobytes() {
  FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return -1;
  char line[256];
  long kilobytes = -1;
  while (std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmHWM: %ld", &kilobytes) == 1) break;
  std::fclose(status);
  return kilobytes;
}

std::string BenchName(const std::string& peer, int size) {
  return "Load/" + peer + "/" + std::to_string(size);
}

void PrintSummary(const bench::SummaryReporter& reporter, const fs::path& folder) {
  std::printf("\nActive code page %u\n", platform::current().activeCodePage());
  std::printf("%9s %8s", "downloads", "file MB");
  for (const char* peer : kPeers)
    std::printf(" %13s", (std::string(peer) + " MB/s").c_str());
  std::printf(" %14s %16s %14s %14s %14s\n", "brimlow/expat", "brimlow/pugixml", "cpu b/expat",
              "cpu b/pugixml", "brimlow us/dl");
  for (const int size : kSizes) {
    std::map<std::string, double> seconds;
    std::map<std::string, double> cpu;
    for (const char* peer : kPeers) {
      const auto found = reporter.seconds.find(BenchName(peer, size));
      if (found != reporter.seconds.end()) seconds[peer] = found->second;
      cpu[peer] = reporter.cpuSeconds.count(BenchName(peer, size))
                      ? reporter.cpuSeconds.at(BenchName(peer, size))
                      : 0;
    }
    if (seconds.size() != std::size(kPeers)) continue;
    const double megabytes = static_cast<double>(fs::file_size(ListPath(folder, size))) / 1e6;
    std::printf("%9d %8.1f", size, megabytes);
    for (const char* peer : kPeers)
      std::printf(" %13.1f", megabytes / seconds[peer]);
    std::printf(" %14.3f %16.3f %14.3f %14.3f %14.3f\n", seconds["brimlow"] / seconds["expat"],
                seconds["brimlow"] / seconds["pugixml"], cpu["brimlow"] / cpu["expat"],
                cpu["brimlow"] / cpu["pugixml"], seconds["brimlow"] * 1e6 / size);
  }

  std::printf("\nPeak memory of one load (fresh process each), relative to the file size\n");
  std::printf("%9s %8s %12s %12s", "downloads", "file MB", "baseline MB", "brimlow MB");
  for (const char* peer : kPeers)
    std::printf(" %10s", (std::string(peer) + " x").c_str());
  std::printf("\n");
  for (const int size : kSizes) {
    const std::string file = ListPath(folder, size);
    const double fileBytes = static_cast<double>(fs::file_size(file));
    const double baseline = static_cast<double>(PeakOfOneLoad("none", file));
    std::map<std::string, double> peaks;
    for (const char* peer : kPeers)
      peaks[peer] = static_cast<double>(PeakOfOneLoad(peer, file));
    std::printf("%9d %8.1f %12.1f %12.1f", size, fileBytes / 1e6, baseline / 1e6,
                peaks["brimlow"] / 1e6);
    for (const char* peer : kPeers)
      std::printf(" %10.2f", (peaks[peer] - baseline) / fileBytes);
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The program runs in the user's locale; the code page follows from it.
  std::setlocale(LC_ALL, "");
  if (argc == 4 && std::strcmp(argv[1], "--peak") == 0) {
    try {
      LoadOnce(argv[2], argv[3]);
      std::printf("%ld\n", OwnPeakKilobytes());
    } catch (const std::exception& error) {
      std::cerr << error.what() << '\n';
      return 1;
    }
    return 0;
  }

  fs::path folder = BRIMLOW_BENCH_LISTS;
  if (argc > 1 && argv[1][0] != '-') {
    folder = argv[1];
    --argc;
    ++argv;
  }
  for (const int size : kSizes) {
    if (!fs::exists(ListPath(folder, size))) {
      std::cerr << ListPath(folder, size)
                << " is missing: build the target bench_lists (brimlow-bench-list makes them)\n";
      return 1;
    }
    // The larger lists take seconds per load; a few loads are enough.
    const int iterations = size >= 500000 ? 2 : size >= 100000 ? 5 : 30;
    for (const char* peer : kPeers) {
      benchmark::RegisterBenchmark(BenchName(peer, size).c_str(), Load, std::string(peer),
                                   ListPath(folder, size))
          ->Iterations(iterations)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
  benchmark::Initialize(&argc, argv);
  bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintSummary(reporter, folder);
  benchmark::Shutdown();
  return 0;
}
