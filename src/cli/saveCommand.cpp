// brimlow-cli save LIST OUT: the list read from LIST and written to OUT in
// the host's format, as the program rewrites a list.
// brimlow-cli backup LIST OUT: the text of LIST as it was read, written to
// OUT, as the program writes a backup copy.

#include <optional>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/options.h"
#include "data/downloadsList.h"

namespace brimlow::cli {

namespace {

struct ListAndOutput {
  std::string list;
  std::string output;
};

// The arguments both commands take; none when help was asked for.
std::optional<ListAndOutput> ParseListAndOutput(const char* name, const char* description,
                                                const Arguments& arguments, std::ostream& out) {
  ListAndOutput files;
  CommandParser parser(name, description);
  parser.add_option("LIST", files.list, "The downloads list file to read")->required();
  parser.add_option("OUT", files.output, "The file to write")->required();
  if (!parser.parseArguments(arguments, out)) return std::nullopt;
  return files;
}

}  // namespace

void runSave(const Arguments& arguments, std::ostream& out) {
  const auto files = ParseListAndOutput(
      "save",
      "Reads LIST and writes it to OUT in the host's format, as the program rewrites a list.",
      arguments, out);
  if (!files) return;
  const TDownloadsList list(files->list);
  list.SaveToFile(files->output);
}

void runBackup(const Arguments& arguments, std::ostream& out) {
  const auto files = ParseListAndOutput(
      "backup",
      "Writes the text of LIST as it was read to OUT, as the program writes a backup copy.",
      arguments, out);
  if (!files) return;
  const TDownloadsList list(files->list);
  list.SaveLoadedText(files->output);
}

}  // namespace brimlow::cli
