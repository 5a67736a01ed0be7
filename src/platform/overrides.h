#pragma once

// What the program told the platform layer to answer in place of the system
// (setDecimalSeparator), for the implementations in posix/ and win32/.

#include <optional>

namespace brimlow::platform {

std::optional<char> decimalSeparatorOverride();

}  // namespace brimlow::platform
