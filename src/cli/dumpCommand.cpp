// brimlow-cli dump LIST: the downloads list as the program reads it, one JSON
// object per line: the list's attributes and count, then every record with
// its fields in the order of the file format.

#include <ostream>

#include "cli/commands.h"
#include "cli/jsonOutput.h"
#include "cli/options.h"
#include "data/dateTime.h"
#include "data/downloadsList.h"

namespace brimlow::cli {

namespace {

void WriteRecord(std::ostream& out, const Tdownload& record) {
  const auto text = [&out](const char* key, std::string_view value) {
    out << ",\"" << key << "\":";
    writeJsonString(out, value);
  };
  out << "{\"ID\":" << record.ID;
  text("URL", record.URL);
  text("FileName", record.FileName);
  out << ",\"State\":" << static_cast<unsigned>(record.State);
  out << ",\"Size\":" << record.Size;
  text("SaveDir", record.SaveDir);
  out << ",\"DownloadedSize\":" << record.DownloadedSize;
  text("LastModified", record.LastModified);
  out << ",\"ResumeMode\":" << static_cast<unsigned>(record.ResumeMode);
  text("Date", DateTimeToText(record.Date));
  out << ",\"DownloadTime\":" << record.DownloadTime;
  out << ",\"NodeID\":" << record.NodeID;
  text("Comment", record.Comment);
  text("ContentType", record.ContentType);
  out << ",\"ExtraElements\":[";
  for (size_t i = 0; i < record.ExtraElements.size(); ++i) {
    if (i) out << ',';
    writeJsonString(out, record.ExtraElements[i]);
  }
  out << "]}\n";
}

}  // namespace

void runDump(const Arguments& arguments, std::ostream& out) {
  std::string file;
  CommandParser parser(
      "dump",
      "Prints the downloads list as the program reads it, one JSON object per line: "
      "the list's attributes and count, then every download.");
  parser.add_option("LIST", file, "The downloads list file")->required();
  if (!parser.parseArguments(arguments, out)) return;

  const TDownloadsList list(file);
  out << "{\"Version\":";
  writeJsonString(out, list.Version());
  out << ",\"NextID\":";
  writeJsonString(out, list.NextID());
  out << ",\"Count\":" << list.Count() << "}\n";
  for (int i = 0; i < list.Count(); ++i)
    WriteRecord(out, list[i]);
}

}  // namespace brimlow::cli
