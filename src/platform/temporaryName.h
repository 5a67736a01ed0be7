#pragma once

// The names of the temporary files an all-or-nothing replacement writes beside
// its target: ".<name>.<process>-<n><ending>", hidden on POSIX, unique within
// a process by n.  A save that is killed halfway leaves such a file behind;
// the next replacement of the same target recognises it by this name and
// removes it once the process that wrote it is gone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brimlow::platform {

inline constexpr std::string_view kTemporaryEnding = ".tmp";

std::string temporaryName(std::string_view targetName, uint64_t process, unsigned n,
                          std::string_view ending = kTemporaryEnding);

// The part of a temporary's name before the process number: ".<name>.".
std::string temporaryPrefix(std::string_view targetName);

// The process that wrote a temporary, from the rest of its name after the
// prefix: exactly "<process>-<n>.tmp" with decimal numbers; none for
// anything else.
std::optional<uint64_t> temporaryOwner(std::string_view rest);

}  // namespace brimlow::platform
