// brimlow-cli save LIST OUT: the list read from LIST and written to OUT in
// the host's format, as the program rewrites a list.
// brimlow-cli backup LIST OUT: the text of LIST as it was read, written to
// OUT, as the program writes a backup copy.

#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/options.h"
#include "data/downloadsList.h"

namespace brimlow::cli {

namespace {

using ListWrite = void (TDownloadsList::*)(const std::string& fileName) const;

// Both commands read LIST and write it to OUT, each in its own way.
void RunListWrite(const char* name, const char* description, ListWrite write,
                  const Arguments& arguments, std::ostream& out) {
  std::string listFile, output;
  CommandParser parser(name, description);
  parser.add_option("LIST", listFile, "The downloads list file to read")->required();
  parser.add_option("OUT", output, "The file to write")->required();
  if (!parser.parseArguments(arguments, out)) return;
  const TDownloadsList list(listFile);
  (list.*write)(output);
}

}  // namespace

void runSave(const Arguments& arguments, std::ostream& out) {
  RunListWrite(
      "save",
      "Reads LIST and writes it to OUT in the host's format, as the program rewrites a list.",
      &TDownloadsList::SaveToFile, arguments, out);
}

void runBackup(const Arguments& arguments, std::ostream& out) {
  RunListWrite(
      "backup",
      "Writes the text of LIST as it was read to OUT, as the program writes a backup copy.",
      &TDownloadsList::SaveLoadedText, arguments, out);
}

}  // namespace brimlow::cli
