#pragma once

// What the help menu opens: the user guide and the maker's pages.

#include <string>

namespace brimlow {

// The user guide next to the program file; where there is none, the one an
// installation puts under share/doc/brimlow beside the program's folder, if
// it is there.
std::string HelpFilePath();
std::string HomePageAddress();
// The support page for the running system.
std::string SupportPageAddress();
std::string ForumAddress();

// Asks the desktop shell to open a document or a web address; the outcome is
// not looked at.
void ShellOpen(const std::string& target);

}  // namespace brimlow
