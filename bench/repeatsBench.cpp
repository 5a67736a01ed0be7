// The repeated downloads and the list's overview at 100,000 and 500,000
// downloads: the benchmark lists with one download in ten repeating the
// address of the one before it and one in twenty-five the file name of an
// earlier one (in capitals), grouped; the marks of the repeats (the files of
// the repeated downloads looked up); each of the four breakdowns.
//
//   brimlow-repeats-bench [benchmark options]

#include <benchmark/benchmark.h>

#include <cctype>
#include <map>
#include <memory>
#include <string>

#include "data/categories.h"
#include "data/downloadsList.h"
#include "workflow/fileStates.h"
#include "workflow/overview.h"
#include "workflow/repeatGroups.h"

using namespace brimlow;

namespace {

const int kSizes[] = {100000, 500000};

std::string Upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

const TDownloadsList& ListOf(int size) {
  static std::map<int, std::unique_ptr<TDownloadsList>> lists;
  std::unique_ptr<TDownloadsList>& list = lists[size];
  if (!list) {
    list = std::make_unique<TDownloadsList>(std::string(BRIMLOW_BENCH_LISTS) + "/list_" +
                                            std::to_string(size) + ".xml");
    for (int i = 2; i < list->Count(); ++i) {
      if (i % 10 == 1) (*list)[i].URL = (*list)[i - 1].URL + "/";
      if (i % 25 == 3) (*list)[i].FileName = Upper((*list)[i - 2].FileName);
    }
  }
  return *list;
}

const TCategoryList& NoCategories() {
  static const TCategoryList categories{std::string()};
  return categories;
}

void Build(benchmark::State& state, int size) {
  const TDownloadsList& list = ListOf(size);
  TRepeatGroups groups;
  for (auto _ : state) {
    groups.Build(list);
    benchmark::DoNotOptimize(groups.GroupCount());
  }
  state.counters["groups"] = groups.GroupCount();
  state.counters["downloads"] = list.Count();
}

void Marks(benchmark::State& state, int size) {
  const TDownloadsList& list = ListOf(size);
  TRepeatGroups groups;
  groups.Build(list);
  for (auto _ : state) {
    TFileStates files;
    benchmark::DoNotOptimize(groups.RepeatMarks(list, files).data());
  }
}

void Overview(benchmark::State& state, int size, TOverviewAxis axis) {
  const TDownloadsList& list = ListOf(size);
  size_t rows = 0;
  for (auto _ : state) {
    TFileStates files;
    rows = MakeOverview(list, NoCategories(), axis, files).rows.size();
    benchmark::DoNotOptimize(rows);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

}  // namespace

int main(int argc, char** argv) {
  for (const int size : kSizes) {
    const std::string n = "/" + std::to_string(size);
    benchmark::RegisterBenchmark(("Repeats/Build" + n).c_str(), Build, size)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Repeats/Marks" + n).c_str(), Marks, size)
        ->Unit(benchmark::kMillisecond);
    for (const TOverviewAxisChoice& choice : OverviewAxes())
      benchmark::RegisterBenchmark(("Overview/" + std::string(choice.word) + n).c_str(), Overview,
                                   size, choice.axis)
          ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
