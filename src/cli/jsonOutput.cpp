#include "cli/jsonOutput.h"

#include <cstdio>

#include "data/dateTime.h"

namespace brimlow::cli {

void writeJsonString(std::ostream& out, std::string_view text) {
  out << '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out << "\\\""; break;
      case '\\': out << "\\\\"; break;
      case '\b': out << "\\b"; break;
      case '\f': out << "\\f"; break;
      case '\n': out << "\\n"; break;
      case '\r': out << "\\r"; break;
      case '\t': out << "\\t"; break;
      default:
        if (byte < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", byte);
          out << escape;
        } else {
          out << c;
        }
    }
  }
  out << '"';
}

void writeDownloadJson(std::ostream& out, const Tdownload& record) {
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

}  // namespace brimlow::cli
