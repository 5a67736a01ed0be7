#include "workflow/csvWriter.h"

#include "data/downloadsList.h"
#include "platform/platform.h"
#include "platform/unicode.h"

namespace brimlow {

namespace {

const std::vector<std::string> kHeader = {
    "ID",           "URL",        "FileName", "State",        "Size",   "SaveDir", "DownloadedSize",
    "LastModified", "ResumeMode", "Date",     "DownloadTime", "NodeID", "Comment", "ContentType",
    "ExtraElements"};

}  // namespace

TCsvWriter::TCsvWriter() : FText("\xEF\xBB\xBF") {}

void TCsvWriter::Row(const std::vector<std::string>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) FText += ',';
    Field(fields[i]);
  }
  FText += "\r\n";
}

void TCsvWriter::Field(std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    FText += field;
    return;
  }
  FText += '"';
  for (const char c : field) {
    if (c == '"') FText += '"';
    FText += c;
  }
  FText += '"';
}

std::string DownloadsCsv(const TDownloadsList& list) {
  platform::Platform& os = platform::current();
  const auto text = [&os](std::string_view ansi) {
    return platform::utf16ToUtf8(os.ansiToWide(ansi));
  };
  TCsvWriter csv;
  csv.Row(kHeader);
  for (int i = 0; i < list.Count(); ++i) {
    const Tdownload& d = list[i];
    std::string extra;
    for (size_t e = 0; e < d.ExtraElements.size(); ++e) {
      if (e) extra += '\n';
      extra += text(d.ExtraElements[e]);
    }
    csv.Row({std::to_string(d.ID), text(d.URL), text(d.FileName), std::to_string(d.State),
             std::to_string(d.Size), text(d.SaveDir), std::to_string(d.DownloadedSize),
             text(d.LastModified), std::to_string(d.ResumeMode), DateTimeToText(d.Date),
             std::to_string(d.DownloadTime), std::to_string(d.NodeID), text(d.Comment),
             text(d.ContentType), extra});
  }
  return csv.Text();
}

void SaveDownloadsCsv(const TDownloadsList& list, const std::string& fileName) {
  platform::replaceFileContents(fileName, DownloadsCsv(list));
}

}  // namespace brimlow
