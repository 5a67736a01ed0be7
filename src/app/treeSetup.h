#pragma once

// How both download trees look and behave: flat rows, four columns with their
// widths and minimums, a fixed narrow state column, movable columns and
// several rows selectable at once.

class QTreeView;

namespace brimlow {

enum class TTreeKind { List, Trash };

void ConfigureDownloadsTree(QTreeView& tree, TTreeKind kind);

}  // namespace brimlow
