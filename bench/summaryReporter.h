#pragma once

// The console reporter of the benchmarks, keeping the time of every run by
// name for the summary printed after them.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace brimlow::bench {

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // With --benchmark_repetitions the median of the repetitions counts,
      // reported after them; the mean and the deviation do not.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      // Times in seconds whatever the display unit.
      const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
      seconds[run.run_name.function_name] = run.GetAdjustedRealTime() / unit;
      cpuSeconds[run.run_name.function_name] = run.GetAdjustedCPUTime() / unit;
    }
  }
  // Wall-clock seconds of the run named, or 0 when it did not run.
  double Of(const std::string& name) const {
    const auto found = seconds.find(name);
    return found == seconds.end() ? 0 : found->second;
  }
  // Wall-clock and processor time: on a machine shared with other work the
  // processor time is the steadier measure, though it leaves out the wait
  // for the disk.
  std::map<std::string, double> seconds;
  std::map<std::string, double> cpuSeconds;
};

}  // namespace brimlow::bench
