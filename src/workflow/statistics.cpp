#include "workflow/statistics.h"

#include "data/download.h"

namespace brimlow {

TStatisticsTexts TStatistics::Texts() const {
  return {std::to_string(listCount),        std::to_string(markedCount),
          SizeToText(markedSize),           SizeToText(listSize),
          std::to_string(trashCount),       SizeToText(trashSize),
          std::to_string(unreachableCount), std::to_string(repeatGroups)};
}

}  // namespace brimlow
