#pragma once

// Whether work grows linearly with its input, told by timing it on a small
// input and on one four times larger.  Four times the input may take about
// four times as long; anything quadratic takes sixteen times, so a ratio
// under 10 passes.  A busy machine can slow one run down, so a ratio that
// looks too high is measured again, up to three times, before it counts.
// Runs of the larger input under 50 ms give a ratio of 0: their ratio is
// mostly caches and noise, and no quadratic run over that much is so quick.

#include <algorithm>
#include <functional>
#include <string>

namespace brimlow::test {

struct Growth {
  double ratio = 0;
  std::string measured;  // every timing taken, for the failure message
};

inline Growth MeasureGrowth(const std::function<double(const std::string&)>& secondsFor,
                            const std::string& small, const std::string& large) {
  Growth growth;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const double smallSeconds = secondsFor(small);
    const double largeSeconds = secondsFor(large);
    growth.ratio = largeSeconds < 0.05 ? 0 : largeSeconds / std::max(smallSeconds, 1e-6);
    growth.measured += std::to_string(smallSeconds) + " s for " + std::to_string(small.size()) +
                       " bytes, " + std::to_string(largeSeconds) + " s for " +
                       std::to_string(large.size()) + "; ";
    if (growth.ratio < 10) break;
  }
  return growth;
}

}  // namespace brimlow::test
