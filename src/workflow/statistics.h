#pragma once

// The statistics panel: the six values after every change of the lists or
// of the marks, as numbers and as the texts their labels show.

#include <cstdint>
#include <string>

namespace brimlow {

// The caption of the line of downloads on drives that cannot be reached.
inline constexpr const char* kUnreachableCaption = "На недоступных дисках";

struct TStatisticsTexts {
  std::string labZak;       // downloads in the list
  std::string labSel;       // marked in the list
  std::string labSizeSel;   // size of the marked ones
  std::string labSize;      // size of the whole list
  std::string labSelCount;  // entries of the trash
  std::string labSelTotal;  // size of the trash
  // Downloads of the list on drives that cannot be reached now: the reason
  // the file criterion left them unmarked.
  std::string labUnreachable;
  std::string labRepeats;  // groups of repeated downloads in the list
  bool operator==(const TStatisticsTexts&) const = default;
};

struct TStatistics {
  int listCount = 0;
  int markedCount = 0;
  int64_t markedSize = 0;
  int64_t listSize = 0;
  int trashCount = 0;
  int64_t trashSize = 0;
  int unreachableCount = 0;
  int repeatGroups = 0;

  // Counts as decimal numbers, sizes through SizeToText.
  TStatisticsTexts Texts() const;
  bool operator==(const TStatistics&) const = default;
};

}  // namespace brimlow
