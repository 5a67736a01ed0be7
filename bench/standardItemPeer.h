#pragma once

// The peer of the window benchmark: the same downloads shown the way a
// straightforward Qt program would, one QStandardItem per cell holding a copy
// of its text, icon and check state.

#include <QStandardItemModel>
#include <cstdint>

namespace brimlow {
class TCategoryList;
class TDownloadsList;
}  // namespace brimlow

namespace brimlow::bench {

// Sizes are kept in the name item under this role, for the statistics.
inline constexpr int kSizeRole = Qt::UserRole + 1;

void FillStandardModel(QStandardItemModel& model, const TDownloadsList& list,
                       const TCategoryList* categories);

// The statistics as such a program computes them after a click: a walk over
// every row.
struct StandardStatistics {
  int checked = 0;
  int64_t checkedSize = 0;
  int64_t totalSize = 0;
};
StandardStatistics ScanStandardModel(const QStandardItemModel& model);

}  // namespace brimlow::bench
