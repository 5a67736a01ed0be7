#pragma once

// What the help menu opens: the user guide and the maker's pages.

#include <string>

#include "workflow/menuCommands.h"

namespace brimlow {

// The user guide next to the program file (on Windows the compiled help
// first, then the page); where there is none, the page an installation puts
// under share/doc/brimlow beside the program's folder, if it is there.
std::string HelpFilePath();
std::string HomePageAddress();
// The support page for the running system.
std::string SupportPageAddress();
std::string ForumAddress();

// Asks the desktop shell to open a document or a web address; the outcome is
// not looked at.
void ShellOpen(const std::string& target);

// The document or page a command of the help menu opens; empty for any other
// command.
std::string HelpTargetOf(TCommand command);
// Opens what a command of the help menu names.
void OpenHelp(TCommand command);

}  // namespace brimlow
