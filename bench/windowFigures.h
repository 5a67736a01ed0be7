#pragma once

// The figures both windows' benchmarks print, in one form, so that
// scripts/window-figures.sh reads them alike.

#include <cstdio>

namespace brimlow::bench {

struct TWindowFigures {
  int downloads = 0;
  double bareLoad = 0;   // seconds, the list read without a window
  double shownLoad = 0;  // seconds, until the window shows the list
  double filter = 0;
  int marked = 0;
  double move = 0;  // seconds, half of the list moved to the trash
  double peakMegabytes = 0;
};

inline void PrintWindowFigures(const TWindowFigures& f) {
  std::printf("downloads                 %d\n", f.downloads);
  std::printf("load without a window     %.3f s\n", f.bareLoad);
  std::printf("load until the list shows %.3f s (%+.1f %%)\n", f.shownLoad,
              (f.shownLoad / f.bareLoad - 1) * 100);
  std::printf("filter (%d marked)     %.3f s\n", f.marked, f.filter);
  std::printf("move %d to the trash   %.3f s\n", f.downloads / 2, f.move);
  std::printf("peak memory               %.1f MB\n", f.peakMegabytes);
}

}  // namespace brimlow::bench
