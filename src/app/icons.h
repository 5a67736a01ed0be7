#pragma once

// The two image lists of the download trees, drawn at start-up: the category
// icons (16 x 16) chosen by a category's ImageIndex, and the state icons
// (12 x 12) chosen by a download's State.

#include <QIcon>

namespace brimlow {

inline constexpr int kCategoryIconCount = 55;
inline constexpr int kCategoryIconSize = 16;
inline constexpr int kStateIconCount = 29;
inline constexpr int kStateIconSize = 12;

// The program's own icon: a broom over a list, drawn at the sizes asked for.
QIcon ProgramIcon();

// A null icon for an index outside the list.
const QIcon& CategoryIcon(int index);
const QIcon& StateIcon(int index);

}  // namespace brimlow
