#pragma once

// The images of the download lists, drawn in code: one image list of 16 by 16
// pixels holding the 55 category icons and, after them, the 29 state icons
// (12 by 12, centred), and the two check box images of the marks.

#include <windows.h>
// After the system header it needs.
#include <commctrl.h>

namespace brimlow {

constexpr int kCategoryIconCount = 55;
constexpr int kStateIconCount = 29;

// The image list's index of a category's icon or a state's icon; -1 for
// none.
int CategoryImage(int imageIndex);
int StateImage(int state);

HIMAGELIST DownloadImages();
// Image 0: an empty check box, image 1: a ticked one.
HIMAGELIST CheckBoxImages();

}  // namespace brimlow
