#pragma once

// The images of the download lists, painted from their designs: one image
// list of 16 by 16 pixels holding the 55 category icons and, after them, the
// 29 state icons (12 by 12, centred).

#include <windows.h>
// After the system header it needs.
#include <commctrl.h>

#include "workflow/iconDesign.h"

namespace brimlow {

// The image list's index of a category's icon or a state's icon; -1 for
// none.
int CategoryImage(int imageIndex);
int StateImage(int state);

HIMAGELIST DownloadImages();

}  // namespace brimlow
