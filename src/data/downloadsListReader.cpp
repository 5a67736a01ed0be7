// Reading a downloads list from the host's file: the file's text is kept for
// backups, and the event scanner's start-tag and content events fill one
// record per DownloadFile element.

#include <string>
#include <string_view>
#include <utility>

#include "data/convert.h"
#include "data/downloadsList.h"
#include "data/textLines.h"
#include "platform/platform.h"
#include "xml/xmlScanner.h"

namespace brimlow {

enum class TDownloadsList::TField : uint8_t {
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

// Element names compared exactly, case included; the length picks the few
// candidates so that each tag costs at most a couple of short comparisons.
TDownloadsList::TField TDownloadsList::FieldOf(std::string_view name) {
  switch (name.size()) {
    case 2: return name == "ID" ? TField::ID : TField::Other;
    case 3: return name == "URL" ? TField::URL : TField::Other;
    case 4:
      if (name == "Size") return TField::Size;
      return name == "Date" ? TField::Date : TField::Other;
    case 5: return name == "State" ? TField::State : TField::Other;
    case 6: return name == "NodeID" ? TField::NodeID : TField::Other;
    case 7:
      if (name == "Comment") return TField::Comment;
      return name == "SaveDir" ? TField::SaveDir : TField::Other;
    case 8: return name == "FileName" ? TField::FileName : TField::Other;
    case 10: return name == "ResumeMode" ? TField::ResumeMode : TField::Other;
    case 11: return name == "ContentType" ? TField::ContentType : TField::Other;
    case 12:
      if (name == "DownloadTime") return TField::DownloadTime;
      return name == "LastModified" ? TField::LastModified : TField::Other;
    case 14: return name == "DownloadedSize" ? TField::DownloadedSize : TField::Other;
    default: return TField::Other;
  }
}

namespace {

// How many records a text of `size` bytes with `tags` DownloadFile start
// tags will at most make.  Reserved at once, the collection is allocated
// once instead of growing and copying itself while it fills, which also
// spares the moment when the old and the doubled collection are held
// together.  A text whose tags would reserve more than half its own size for
// records (nothing like a real list) is left to grow as it reads.
size_t RecordsToReserve(size_t tags, size_t size) {
  return tags * sizeof(Tdownload) <= size / 2 ? tags : 0;
}

}  // namespace

void TDownloadsList::Load() {
  platform::Platform& os = platform::current();
  if (!os.fileExists(FFileName)) return;
  // The file is read once: the scanner works on the text, and the list keeps
  // it afterwards for backups.  A second read could also find another file,
  // or none, in its place.
  // One pass over the text counts its DownloadFile tags (the tag cannot
  // overlap itself, so every place is a tag of its own) together with the
  // line ends that the kept text needs.
  // A list with LF or CR line ends grows into the room once the scan is done.
  std::string text = os.readFileWithRoom(FFileName, kLineEndRoom);
  const TLineEnds lines = CountLineEnds(text, "<DownloadFile");
  FItems.reserve(FItems.size() + RecordsToReserve(lines.markers, text.size()));
  // Both the scan and the kept text end at the first NUL.
  text.resize(lines.length);
  TScannerTokenizer& tokenizer = FScanner->Tokenizer();
  tokenizer.LoadTextWithoutNul(std::move(text), FFileName);

  FScanner->OnStartTag = [this](TCustomEventScanner&, const std::string& tagName,
                                const TAttrList& attributes) { OnStartTag(tagName, attributes); };
  FScanner->OnContent = [this](TCustomEventScanner&, const std::string& content) {
    OnContent(content);
  };
  FScanner->Run();
  FCharactersLost = tokenizer.CharactersLost();
  FLoadedText = tokenizer.ReleaseText();
  MakeCrLfLines(FLoadedText, lines);
}

// The content as a string of the record's own.  A copy is sized to fit,
// while the tokenizer's buffer keeps the room it grew while it was read: a
// record holds many short texts, and that room would stay with each.  A long
// text is taken over from the tokenizer instead, when the event hands its
// own buffer, as it does, so that the text is not held twice.
std::string TDownloadsList::KeptContent(const std::string& text) {
  constexpr size_t kLongContent = 64 * 1024;
  TScannerTokenizer& tokenizer = FScanner->Tokenizer();
  if (text.size() >= kLongContent && &text == &tokenizer.PartContent())
    return tokenizer.TakePartContent();
  return text;
}

void TDownloadsList::OnStartTag(const std::string& name, const TAttrList& attributes) {
  // Compared as views, most names differ by their length alone.
  const std::string_view tag = name;
  if (tag == "DownloadList") {
    FInsideList = true;
    FVersion = attributes.ValueOf("Version");
    FNextID = attributes.ValueOf("NextID");
  } else if (FInsideList && tag == "DownloadFile") {
    Add();
    FCurrent = Count() - 1;
  }
  FCurrentField = FieldOf(tag);
  // The name is kept only where an unknown element becomes an entry.
  if (FCurrentField == TField::Other && FInsideList && FCurrent >= 0)
    FCurrentElement = name;
  else
    FCurrentElement.clear();
}

void TDownloadsList::OnContent(const std::string& text) {
  if (!FInsideList || FCurrent < 0) return;
  Tdownload& record = FItems[static_cast<size_t>(FCurrent)];
  switch (FCurrentField) {
    case TField::ID: record.ID = StrToDownloadID(text); break;
    case TField::DownloadTime: record.DownloadTime = StrToInt32(text); break;
    case TField::NodeID: record.NodeID = StrToInt32(text); break;
    case TField::State: record.State = static_cast<uint8_t>(StrToInt32(text) & 0xFF); break;
    case TField::ResumeMode:
      record.ResumeMode = static_cast<uint8_t>(StrToInt32(text) & 0xFF);
      break;
    case TField::Size: record.Size = StrToInt64(text); break;
    case TField::DownloadedSize: record.DownloadedSize = StrToInt64(text); break;
    case TField::Date: record.Date = StrToDateTime(text); break;
    case TField::URL: record.URL = KeptContent(text); break;
    case TField::FileName: record.FileName = KeptContent(text); break;
    case TField::SaveDir: record.SaveDir = KeptContent(text); break;
    case TField::LastModified: record.LastModified = KeptContent(text); break;
    case TField::ContentType: record.ContentType = KeptContent(text); break;
    case TField::Comment: record.Comment = KeptContent(text); break;
    case TField::Other: {
      std::string entry;
      entry.reserve(FCurrentElement.size() + 1 + text.size());
      entry.append(FCurrentElement).append(1, ';').append(text);
      record.ExtraElements.push_back(std::move(entry));
      break;
    }
  }
}

}  // namespace brimlow
