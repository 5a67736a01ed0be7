#include "peerRecords.h"

#include "data/convert.h"
#include "data/dateTime.h"
#include "platform/platform.h"
#include "xml/xmlUtf8.h"

namespace brimlow::bench {

namespace {

enum Field : int {
  Other,
  ID,
  URL,
  FileName,
  State,
  Size,
  SaveDir,
  DownloadedSize,
  LastModified,
  ResumeMode,
  Date,
  DownloadTime,
  NodeID,
  Comment,
  ContentType,
};

Field FieldOf(std::string_view name) {
  switch (name.size()) {
    case 2: return name == "ID" ? ID : Other;
    case 3: return name == "URL" ? URL : Other;
    case 4:
      if (name == "Size") return Size;
      return name == "Date" ? Date : Other;
    case 5: return name == "State" ? State : Other;
    case 6: return name == "NodeID" ? NodeID : Other;
    case 7:
      if (name == "Comment") return Comment;
      return name == "SaveDir" ? SaveDir : Other;
    case 8: return name == "FileName" ? FileName : Other;
    case 10: return name == "ResumeMode" ? ResumeMode : Other;
    case 11: return name == "ContentType" ? ContentType : Other;
    case 12:
      if (name == "DownloadTime") return DownloadTime;
      return name == "LastModified" ? LastModified : Other;
    case 14: return name == "DownloadedSize" ? DownloadedSize : Other;
    default: return Other;
  }
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

RecordFiller::RecordFiller(PeerList& list)
    : list_(list), utf8CodePage_(platform::current().activeCodePage() == 65001) {}

void RecordFiller::StartElement(std::string_view tag, bool isList) {
  if (isList) {
    inside_ = true;
  } else if (inside_ && tag == "DownloadFile") {
    list_.Items.emplace_back();
    current_ = &list_.Items.back();
  }
  element_.assign(tag);
  field_ = FieldOf(tag);
}

void RecordFiller::Text(std::string_view raw) {
  std::string folded = Fold(raw);
  if (!folded.empty()) Store(Translate(std::move(folded)));
}

std::string RecordFiller::Fold(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool blank = false;
  for (const char c : text) {
    if (IsBlank(c)) {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

std::string RecordFiller::Translate(std::string text) {
  if (utf8::IsAscii(text) || (utf8CodePage_ && utf8::IsValid(text))) return text;
  wide_.clear();
  utf8::DecodeLenient(text, wide_);
  return platform::current().wideToAnsi(wide_);
}

void RecordFiller::Store(const std::string& text) {
  if (!inside_ || !current_) return;
  Tdownload& record = *current_;
  switch (field_) {
    case ID: record.ID = StrToDownloadID(text); break;
    case DownloadTime: record.DownloadTime = StrToInt32(text); break;
    case NodeID: record.NodeID = StrToInt32(text); break;
    case State: record.State = static_cast<uint8_t>(StrToInt32(text) & 0xFF); break;
    case ResumeMode: record.ResumeMode = static_cast<uint8_t>(StrToInt32(text) & 0xFF); break;
    case Size: record.Size = StrToInt64(text); break;
    case DownloadedSize: record.DownloadedSize = StrToInt64(text); break;
    case Date: record.Date = StrToDateTime(text); break;
    case URL: record.URL = text; break;
    case FileName: record.FileName = text; break;
    case SaveDir: record.SaveDir = text; break;
    case LastModified: record.LastModified = text; break;
    case ContentType: record.ContentType = text; break;
    case Comment: record.Comment = text; break;
    default: record.ExtraElements.push_back(element_ + ";" + text); break;
  }
}

}  // namespace brimlow::bench
