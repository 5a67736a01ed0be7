// The save benchmark: a downloads list of 10,000, 100,000 and 500,000
// downloads written with TDownloadsList::SaveToFile, and beside it, in the
// same run, the same records written by pugixml's document and save, by
// libxml2's text writer and by plain string building.  Every peer flushes its
// file to disk as the program's all-or-nothing write does, so the times
// compare like with like; with the output folder in memory (/dev/shm) the
// flush costs nothing and the times are the writers' own work.  Prints the
// speed of each in MB of output per second, the ratios of Brimlow's time to
// libxml2's and pugixml's, the time per download across the sizes, and the
// peak memory of one save relative to the size of the file written (each
// measured in a fresh process of its own).
//
//   brimlow-save-bench [LISTS_FOLDER [OUTPUT_FOLDER]] [benchmark options]
//     (with --benchmark_repetitions=N the ratios come from the medians)
//   brimlow-save-bench --peak PEER LIST OUT   (used by the above)
//   brimlow-save-bench --repeat PEER LIST OUT N   (N saves after one load, to profile)

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "data/downloadsList.h"
#include "platform/platform.h"
#include "savePeers.h"
#include "summaryReporter.h"

namespace fs = std::filesystem;
using namespace brimlow;

namespace {

const int kSizes[] = {10000, 100000, 500000};
const char* const kPeers[] = {"brimlow", "pugixml", "libxml2", "strings"};

std::string ListPath(const fs::path& folder, int size) {
  return (folder / ("list_" + std::to_string(size) + ".xml")).string();
}

std::string OutPath(const fs::path& folder, const std::string& peer, int size) {
  return (folder / (peer + "_" + std::to_string(size) + ".xml")).string();
}

void FlushToDisk(const std::string& fileName) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) return;
  ::fsync(::fileno(file));
  std::fclose(file);
}

// The program's own save flushes its file to disk; the peers' files are
// flushed after them.
void SaveOnce(const std::string& peer, const TDownloadsList& list, const std::string& out) {
  if (peer == "brimlow") {
    list.SaveToFile(out);
    return;
  }
  if (peer == "pugixml") bench::SaveWithPugixml(list, out);
  if (peer == "libxml2") bench::SaveWithLibxml2(list, out);
  if (peer == "strings") bench::SaveWithStrings(list, out);
  FlushToDisk(out);
}

void Save(benchmark::State& state, const std::string& peer, const TDownloadsList* list,
          const std::string& out) {
  for (auto _ : state)
    SaveOnce(peer, *list, out);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(fs::file_size(out)));
}

std::string BenchName(const std::string& peer, int size) {
  return "Save/" + peer + "/" + std::to_string(size);
}

long StatusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const size_t length = std::strlen(field);
  while (std::getline(status, line))
    if (line.compare(0, length, field) == 0) return std::stol(line.substr(length + 1));
  return -1;
}

// In a fresh process: loads the list, then measures how far one save raises
// the resident memory above what the loaded list holds.
int PeakOfOwnSave(const std::string& peer, const std::string& list, const std::string& out) {
  const TDownloadsList loaded(list);
  const long before = StatusKilobytes("VmRSS:");
  std::ofstream("/proc/self/clear_refs") << "5";  // the high-water mark restarts here
  SaveOnce(peer, loaded, out);
  std::printf("%ld\n", (StatusKilobytes("VmHWM:") - before) * 1024L);
  return 0;
}

double PeakOfOneSave(const std::string& peer, const std::string& list, const std::string& out) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    ::close(pipeEnds[0]);
    ::execl("/proc/self/exe", "brimlow-save-bench", "--peak", peer.c_str(), list.c_str(),
            out.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  char buffer[64] = {};
  const ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer - 1);
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return std::strtod(buffer, nullptr);
}

void PrintSummary(const bench::SummaryReporter& reporter, const fs::path& folder,
                  const fs::path& output) {
  std::printf("\nActive code page %u\n", platform::current().activeCodePage());
  std::printf("%9s %8s", "downloads", "out MB");
  for (const char* peer : kPeers)
    std::printf(" %14s", (std::string(peer) + " MB/s").c_str());
  std::printf(" %16s %16s %14s %14s %14s\n", "brimlow/libxml2", "brimlow/pugixml", "cpu b/libxml2",
              "cpu b/pugixml", "brimlow us/dl");
  for (const int size : kSizes) {
    const auto brimlow = reporter.seconds.find(BenchName("brimlow", size));
    const auto pugixml = reporter.seconds.find(BenchName("pugixml", size));
    const auto libxml2 = reporter.seconds.find(BenchName("libxml2", size));
    if (brimlow == reporter.seconds.end() || pugixml == reporter.seconds.end() ||
        libxml2 == reporter.seconds.end() || !fs::exists(OutPath(output, "brimlow", size)))
      continue;
    const double megabytes =
        static_cast<double>(fs::file_size(OutPath(output, "brimlow", size))) / 1e6;
    std::printf("%9d %8.1f", size, megabytes);
    for (const char* peer : kPeers) {
      const auto found = reporter.seconds.find(BenchName(peer, size));
      std::printf(" %14.1f", found == reporter.seconds.end() ? 0.0 : megabytes / found->second);
    }
    const auto cpu = [&](const char* peer) {
      return reporter.cpuSeconds.at(BenchName(peer, size));
    };
    std::printf(" %16.3f %16.3f %14.3f %14.3f %14.3f\n", brimlow->second / libxml2->second,
                brimlow->second / pugixml->second, cpu("brimlow") / cpu("libxml2"),
                cpu("brimlow") / cpu("pugixml"), brimlow->second * 1e6 / size);
  }

  std::printf(
      "\nPeak memory of one save above the loaded list (fresh process each), relative "
      "to the size of the file written\n");
  std::printf("%9s %8s", "downloads", "out MB");
  for (const char* peer : {"brimlow", "pugixml", "libxml2", "strings"})
    std::printf(" %12s", (std::string(peer) + " x").c_str());
  std::printf(" %14s\n", "brimlow MB");
  for (const int size : kSizes) {
    if (reporter.seconds.find(BenchName("brimlow", size)) == reporter.seconds.end() ||
        !fs::exists(OutPath(output, "brimlow", size)))
      continue;
    const std::string list = ListPath(folder, size);
    const double out = static_cast<double>(fs::file_size(OutPath(output, "brimlow", size)));
    std::printf("%9d %8.1f", size, out / 1e6);
    double brimlowBytes = 0;
    for (const char* peer : {"brimlow", "pugixml", "libxml2", "strings"}) {
      const double peak = PeakOfOneSave(peer, list, OutPath(output, peer, size));
      if (std::strcmp(peer, "brimlow") == 0) brimlowBytes = peak;
      std::printf(" %12.2f", peak / out);
    }
    std::printf(" %14.1f\n", brimlowBytes / 1e6);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The program runs in the user's locale; the code page follows from it.
  std::setlocale(LC_ALL, "");
  if (argc == 6 && std::strcmp(argv[1], "--repeat") == 0) {
    const TDownloadsList loaded(argv[3]);
    for (int i = std::atoi(argv[5]); i > 0; --i)
      SaveOnce(argv[2], loaded, argv[4]);
    return 0;
  }
  if (argc == 5 && std::strcmp(argv[1], "--peak") == 0) {
    try {
      return PeakOfOwnSave(argv[2], argv[3], argv[4]);
    } catch (const std::exception& error) {
      std::cerr << error.what() << '\n';
      return 1;
    }
  }

  fs::path folder = BRIMLOW_BENCH_LISTS;
  if (argc > 1 && argv[1][0] != '-') {
    folder = argv[1];
    --argc;
    ++argv;
  }
  fs::path output = folder / "saved";
  if (argc > 1 && argv[1][0] != '-') {
    output = argv[1];
    --argc;
    ++argv;
  }
  fs::create_directories(output);
  std::printf("Output folder %s\n", output.c_str());
  std::map<int, std::unique_ptr<TDownloadsList>> lists;
  for (const int size : kSizes) {
    if (!fs::exists(ListPath(folder, size))) {
      std::cerr << ListPath(folder, size)
                << " is missing: build the target bench_lists (brimlow-bench-list makes them)\n";
      return 1;
    }
    lists[size] = std::make_unique<TDownloadsList>(ListPath(folder, size));
    const int iterations = size >= 500000 ? 2 : size >= 100000 ? 5 : 20;
    for (const char* peer : kPeers) {
      benchmark::RegisterBenchmark(BenchName(peer, size).c_str(), Save, std::string(peer),
                                   lists[size].get(), OutPath(output, peer, size))
          ->Iterations(iterations)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
  benchmark::Initialize(&argc, argv);
  bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintSummary(reporter, folder, output);
  benchmark::Shutdown();
  return 0;
}
