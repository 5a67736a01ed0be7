#pragma once

// The path rules every part of Brimlow shares.  On Windows "\" separates
// folders.  On POSIX both "/" and "\" do when a path is split, because the
// host's own paths are Windows paths there (it runs under Wine); a path is
// joined with "\" when its folder is a Windows path and with "/" otherwise.

#include <string>
#include <string_view>

namespace brimlow::platform {

// A drive letter and a colon, or a "\" with no "/": a path of the host's world.
bool isWindowsPath(std::string_view path);

// The folder, exactly one separator, and the part.  An empty part gives the
// folder and an empty folder gives the part.  The "\" separators of a fixed
// part such as "Tarvolt\lists\default.xml" become the folder's separator.
std::string JoinPath(std::string_view folder, std::string_view part);

// The path up to and including its last separator; empty when it has none.
std::string ExtractFileDir(std::string_view path);

// What follows the last separator of a path.
std::string ExtractFileName(std::string_view path);

}  // namespace brimlow::platform
