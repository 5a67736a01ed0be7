// The load benchmark: downloads lists of 10,000, 100,000 and 500,000
// downloads read into a TDownloadsList, and beside it, in the same run, the
// same files read with expat and with pugixml into the same records.  The
// lists are the host's usual one ("host") and a family of shaped ones
// (benchListShapes.h).  Prints one row per list: the speed of each reader,
// the ratios of the times and the time per download; then the peak memory of
// one load relative to the file size (each load measured in a fresh process
// of its own).
//
//   brimlow-load-bench [LISTS_FOLDER] [--shapes=host,refs,...] [--sizes=10000,...]
//                      [--no-peak] [benchmark options]
//   brimlow-load-bench --peak brimlow|expat|pugixml|none FILE   (used by the above)

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
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

const char* const kPeers[] = {"brimlow", "expat", "pugixml"};

// The lists measured: a shape and a size each.
struct Lists {
  std::vector<std::string> shapes;
  std::vector<int> sizes{10000, 100000, 500000};
  bool peaks = true;
};

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, ',');)
    if (!part.empty()) parts.push_back(part);
  return parts;
}

// "host" is the usual list, list_SIZE.xml; a shape's is list_SHAPE_SIZE.xml.
std::string ListPath(const fs::path& folder, const std::string& shape, int size) {
  const std::string infix = shape == "host" ? "" : shape + "_";
  return (folder / ("list_" + infix + std::to_string(size) + ".xml")).string();
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

std::string BenchName(const std::string& peer, const std::string& shape, int size) {
  return "Load/" + peer + "/" + shape + "/" + std::to_string(size);
}

void PrintPeaks(const fs::path& folder, const Lists& lists) {
  std::printf("\nPeak memory of one load (fresh process each), relative to the file size\n");
  std::printf("%-14s %9s %8s %12s %12s", "list", "downloads", "file MB", "baseline MB",
              "brimlow MB");
  for (const char* peer : kPeers)
    std::printf(" %10s", (std::string(peer) + " x").c_str());
  std::printf("\n");
  for (const std::string& shape : lists.shapes) {
    for (const int size : lists.sizes) {
      const std::string file = ListPath(folder, shape, size);
      const double fileBytes = static_cast<double>(fs::file_size(file));
      const double baseline = static_cast<double>(PeakOfOneLoad("none", file));
      std::map<std::string, double> peaks;
      for (const char* peer : kPeers)
        peaks[peer] = static_cast<double>(PeakOfOneLoad(peer, file));
      std::printf("%-14s %9d %8.1f %12.1f %12.1f", shape.c_str(), size, fileBytes / 1e6,
                  baseline / 1e6, peaks["brimlow"] / 1e6);
      for (const char* peer : kPeers)
        std::printf(" %10.2f", (peaks[peer] - baseline) / fileBytes);
      std::printf("\n");
    }
  }
}

void PrintSummary(const bench::SummaryReporter& reporter, const fs::path& folder,
                  const Lists& lists) {
  std::printf("\nActive code page %u\n", platform::current().activeCodePage());
  std::printf("%-14s %9s %8s", "list", "downloads", "file MB");
  for (const char* peer : kPeers)
    std::printf(" %13s", (std::string(peer) + " MB/s").c_str());
  std::printf(" %14s %16s %14s %14s %14s\n", "brimlow/expat", "brimlow/pugixml", "cpu b/expat",
              "cpu b/pugixml", "brimlow us/dl");
  for (const std::string& shape : lists.shapes) {
    for (const int size : lists.sizes) {
      std::map<std::string, double> seconds;
      std::map<std::string, double> cpu;
      for (const char* peer : kPeers) {
        const std::string name = BenchName(peer, shape, size);
        const auto found = reporter.seconds.find(name);
        if (found != reporter.seconds.end()) seconds[peer] = found->second;
        cpu[peer] = reporter.cpuSeconds.count(name) ? reporter.cpuSeconds.at(name) : 0;
      }
      if (seconds.size() != std::size(kPeers)) continue;
      const double megabytes =
          static_cast<double>(fs::file_size(ListPath(folder, shape, size))) / 1e6;
      std::printf("%-14s %9d %8.1f", shape.c_str(), size, megabytes);
      for (const char* peer : kPeers)
        std::printf(" %13.1f", megabytes / seconds[peer]);
      std::printf(" %14.3f %16.3f %14.3f %14.3f %14.3f\n", seconds["brimlow"] / seconds["expat"],
                  seconds["brimlow"] / seconds["pugixml"], cpu["brimlow"] / cpu["expat"],
                  cpu["brimlow"] / cpu["pugixml"], seconds["brimlow"] * 1e6 / size);
    }
  }
  if (lists.peaks) PrintPeaks(folder, lists);
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
  Lists lists;
  lists.shapes = SplitCommas(std::string("host,") + BRIMLOW_LIST_SHAPES);
  // Our own options are taken out before the benchmark library sees the rest.
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option.starts_with("--shapes=")) {
      lists.shapes = SplitCommas(option.substr(9));
    } else if (option.starts_with("--sizes=")) {
      lists.sizes.clear();
      for (const std::string& size : SplitCommas(option.substr(8)))
        lists.sizes.push_back(std::stoi(size));
    } else if (option == "--no-peak") {
      lists.peaks = false;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  for (const std::string& shape : lists.shapes) {
    for (const int size : lists.sizes) {
      const std::string file = ListPath(folder, shape, size);
      if (!fs::exists(file)) {
        std::cerr << file << " is missing: build the targets bench_lists and bench_shape_lists "
                  << "(brimlow-bench-list makes them)\n";
        return 1;
      }
      // The larger lists take a second or more per load; a few loads are
      // enough, and --benchmark_repetitions gives the medians.
      const int iterations = size >= 500000 ? 1 : size >= 100000 ? 2 : 10;
      for (const char* peer : kPeers) {
        benchmark::RegisterBenchmark(BenchName(peer, shape, size).c_str(), Load, std::string(peer),
                                     file)
            ->Iterations(iterations)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
      }
    }
  }
  benchmark::Initialize(&argc, argv);
  bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintSummary(reporter, folder, lists);
  benchmark::Shutdown();
  return 0;
}
