#include "expatPeer.h"

#include <expat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <exception>
#include <stdexcept>
#include <string_view>

#include "data/convert.h"
#include "data/dateTime.h"
#include "platform/platform.h"
#include "xml/xmlUtf8.h"

namespace brimlow::bench {

namespace {

enum class Field : uint8_t {
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
    case 2: return name == "ID" ? Field::ID : Field::Other;
    case 3: return name == "URL" ? Field::URL : Field::Other;
    case 4:
      if (name == "Size") return Field::Size;
      return name == "Date" ? Field::Date : Field::Other;
    case 5: return name == "State" ? Field::State : Field::Other;
    case 6: return name == "NodeID" ? Field::NodeID : Field::Other;
    case 7:
      if (name == "Comment") return Field::Comment;
      return name == "SaveDir" ? Field::SaveDir : Field::Other;
    case 8: return name == "FileName" ? Field::FileName : Field::Other;
    case 10: return name == "ResumeMode" ? Field::ResumeMode : Field::Other;
    case 11: return name == "ContentType" ? Field::ContentType : Field::Other;
    case 12:
      if (name == "DownloadTime") return Field::DownloadTime;
      return name == "LastModified" ? Field::LastModified : Field::Other;
    case 14: return name == "DownloadedSize" ? Field::DownloadedSize : Field::Other;
    default: return Field::Other;
  }
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class Reader {
 public:
  Reader(ExpatList& list, XML_Parser parser)
      : list_(list),
        parser_(parser),
        utf8CodePage_(platform::current().activeCodePage() == 65001) {}

  // A conversion error must not unwind through expat's C frames: it is kept,
  // the parser stopped, and the error thrown again once expat has returned.
  std::exception_ptr error;

  static void XMLCALL Start(void* self, const XML_Char* name, const XML_Char** attributes) {
    static_cast<Reader*>(self)->OnStart(name, attributes);
  }
  static void XMLCALL End(void* self, const XML_Char*) { static_cast<Reader*>(self)->Flush(); }
  static void XMLCALL Characters(void* self, const XML_Char* text, int length) {
    static_cast<Reader*>(self)->pending_.append(text, static_cast<size_t>(length));
  }
  static void XMLCALL Split(void* self, const XML_Char*) { static_cast<Reader*>(self)->Flush(); }
  static void XMLCALL SplitPI(void* self, const XML_Char*, const XML_Char*) {
    static_cast<Reader*>(self)->Flush();
  }
  static void XMLCALL StartCData(void* self) { static_cast<Reader*>(self)->Flush(); }
  static void XMLCALL EndCData(void* self) {
    // A CDATA section arrives as it stands, even when empty.
    auto& reader = *static_cast<Reader*>(self);
    reader.Deliver(reader.pending_);
    reader.pending_.clear();
  }

 private:
  void OnStart(const XML_Char* name, const XML_Char** attributes) {
    Flush();
    const std::string_view tag(name);
    if (tag == "DownloadList") {
      inside_ = true;
      list_.Version.clear();
      list_.NextID.clear();
      for (const XML_Char** a = attributes; *a; a += 2) {
        if (std::strcmp(a[0], "Version") == 0) list_.Version = Translate(Fold(a[1]));
        if (std::strcmp(a[0], "NextID") == 0) list_.NextID = Translate(Fold(a[1]));
      }
    } else if (inside_ && tag == "DownloadFile") {
      list_.Items.emplace_back();
      current_ = &list_.Items.back();
    }
    element_.assign(tag);
    field_ = FieldOf(tag);
  }

  // Text as the program's reader delivers it: trimmed, each run of white
  // space one blank, nothing at all when only white space.
  void Flush() {
    if (pending_.empty()) return;
    std::string folded = Fold(pending_);
    pending_.clear();
    if (!folded.empty()) Deliver(folded);
  }

  static std::string Fold(std::string_view text) {
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

  std::string Translate(const std::string& text) {
    if (utf8::IsAscii(text) || (utf8CodePage_ && utf8::IsValid(text))) return text;
    wide_.clear();
    utf8::DecodeLenient(text, wide_);
    return platform::current().wideToAnsi(wide_);
  }

  void Deliver(const std::string& raw) {
    if (!inside_ || !current_ || error) return;
    try {
      Store(raw);
    } catch (...) {
      error = std::current_exception();
      XML_StopParser(parser_, XML_FALSE);
    }
  }

  void Store(const std::string& raw) {
    const std::string text = Translate(raw);
    Tdownload& record = *current_;
    switch (field_) {
      case Field::ID: record.ID = StrToDownloadID(text); break;
      case Field::DownloadTime: record.DownloadTime = StrToInt32(text); break;
      case Field::NodeID: record.NodeID = StrToInt32(text); break;
      case Field::State: record.State = static_cast<uint8_t>(StrToInt32(text) & 0xFF); break;
      case Field::ResumeMode:
        record.ResumeMode = static_cast<uint8_t>(StrToInt32(text) & 0xFF);
        break;
      case Field::Size: record.Size = StrToInt64(text); break;
      case Field::DownloadedSize: record.DownloadedSize = StrToInt64(text); break;
      case Field::Date: record.Date = StrToDateTime(text); break;
      case Field::URL: record.URL = text; break;
      case Field::FileName: record.FileName = text; break;
      case Field::SaveDir: record.SaveDir = text; break;
      case Field::LastModified: record.LastModified = text; break;
      case Field::ContentType: record.ContentType = text; break;
      case Field::Comment: record.Comment = text; break;
      case Field::Other: record.ExtraElements.push_back(element_ + ";" + text); break;
    }
  }

  ExpatList& list_;
  XML_Parser parser_;
  const bool utf8CodePage_;
  bool inside_ = false;
  Tdownload* current_ = nullptr;  // always the last record, set right after it is added
  std::string element_;
  Field field_ = Field::Other;
  std::string pending_;
  std::u16string wide_;
};

}  // namespace

ExpatList LoadWithExpat(const std::string& fileName) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + fileName);
  ExpatList list;
  XML_Parser parser = XML_ParserCreate(nullptr);
  Reader reader(list, parser);
  XML_SetUserData(parser, &reader);
  XML_SetElementHandler(parser, Reader::Start, Reader::End);
  XML_SetCharacterDataHandler(parser, Reader::Characters);
  XML_SetCommentHandler(parser, Reader::Split);
  XML_SetProcessingInstructionHandler(parser, Reader::SplitPI);
  XML_SetCdataSectionHandler(parser, Reader::StartCData, Reader::EndCData);
  constexpr int kChunk = 1 << 16;
  for (;;) {
    void* buffer = XML_GetBuffer(parser, kChunk);
    const ssize_t got = buffer ? ::read(fd, buffer, kChunk) : -1;
    if (got < 0 || XML_ParseBuffer(parser, static_cast<int>(got), got == 0) == XML_STATUS_ERROR)
      break;  // a well-formedness error ends the reading, as far as it got
    if (got == 0) break;
  }
  XML_ParserFree(parser);
  ::close(fd);
  if (reader.error) std::rethrow_exception(reader.error);
  return list;
}

}  // namespace brimlow::bench
