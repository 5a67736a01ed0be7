// brimlow-cli save LIST OUT: the list read from LIST and written to OUT in
// the host's format, as the program rewrites a list.
// brimlow-cli backup LIST OUT: the text of LIST as it was read, written to
// OUT, as the program writes a backup copy.

#include <ostream>

#include "cli/commands.h"
#include "data/downloadsList.h"

namespace brimlow::cli {

void runSave(const Arguments& arguments, std::ostream&) {
  if (arguments.size() != 2) throw UsageError("save takes a list file and an output file");
  const TDownloadsList list(arguments[0]);
  list.SaveToFile(arguments[1]);
}

void runBackup(const Arguments& arguments, std::ostream&) {
  if (arguments.size() != 2) throw UsageError("backup takes a list file and an output file");
  const TDownloadsList list(arguments[0]);
  list.SaveLoadedText(arguments[1]);
}

}  // namespace brimlow::cli
