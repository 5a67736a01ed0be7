#pragma once

// How both download trees look and behave: flat rows, four columns with their
// widths and minimums, a fixed narrow state column, movable columns and
// several rows selectable at once.

#include "workflow/downloadColumns.h"

class QTreeView;

namespace brimlow {

void ConfigureDownloadsTree(QTreeView& tree, TTreeKind kind);

}  // namespace brimlow
