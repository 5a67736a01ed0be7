// brimlow-cli dump [--csv] LIST: the downloads list as the program reads it,
// one JSON object per line: the list's attributes and count, then every
// record with its fields in the order of the file format.  With --csv, one
// CSV row per record after a header row, in UTF-8.

#include <ostream>

#include "cli/commands.h"
#include "cli/jsonOutput.h"
#include "cli/options.h"
#include "data/downloadsList.h"
#include "workflow/csvWriter.h"

namespace brimlow::cli {

void runDump(const Arguments& arguments, std::ostream& out) {
  std::string file;
  bool csv = false;
  CommandParser parser(
      "dump",
      "Prints the downloads list as the program reads it, one JSON object per line: "
      "the list's attributes and count, then every download.");
  parser.add_option("LIST", file, "The downloads list file")->required();
  parser.addFlagOnce("--csv", csv,
                     "One CSV row per download after a header row of the field names, in UTF-8 "
                     "with a byte-order mark");
  if (!parser.parseArguments(arguments, out)) return;

  const TDownloadsList list(file);
  if (csv) {
    out << DownloadsCsv(list);
    return;
  }
  out << "{\"Version\":";
  writeJsonString(out, list.Version());
  out << ",\"NextID\":";
  writeJsonString(out, list.NextID());
  out << ",\"Count\":" << list.Count() << "}\n";
  for (int i = 0; i < list.Count(); ++i)
    writeDownloadJson(out, list[i]);
}

}  // namespace brimlow::cli
