#pragma once

// The list that clean and restore work on, found as the window finds it.

#include <optional>
#include <string>

#include "workflow/cleaner.h"

namespace brimlow::cli {

// `given` when there is one, else the host's current list (the registry,
// then APPDATA).  With host control on, the host's executable is looked up
// in any case, so that a running host can be asked to exit; host control is
// set on the cleaner accordingly.
std::string workList(TCleaner& cleaner, const std::optional<std::string>& given, bool hostControl);

}  // namespace brimlow::cli
