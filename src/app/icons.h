#pragma once

// The two image lists of the download trees, painted at start-up from their
// designs: the category icons chosen by a category's ImageIndex, and the
// state icons chosen by a download's State.

#include <QIcon>

#include "workflow/iconDesign.h"

namespace brimlow {

// The program's own icon: a broom over a list, drawn at the sizes asked for.
QIcon ProgramIcon();

// A null icon for an index outside the list.
const QIcon& CategoryIcon(int index);
const QIcon& StateIcon(int index);

}  // namespace brimlow
