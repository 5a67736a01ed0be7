// Writing a downloads list in the host's format: the records become a
// document tree, the serializer writes it as UTF-8 with CR LF line ends, and
// the file is replaced all or nothing: the text goes to a temporary file
// beside it, which takes the list file's place only once it is complete and
// on disk.  Any failure leaves the old file exactly as it was.

#include <algorithm>
#include <charconv>
#include <exception>
#include <string>
#include <string_view>

#include "data/crLfFileStream.h"
#include "data/dateTime.h"
#include "data/downloadsList.h"
#include "data/textLines.h"
#include "dom/domDocument.h"
#include "dom/domSerializer.h"
#include "platform/platform.h"
#include "platform/unicode.h"

namespace brimlow {

namespace {

// The serializer hands its output over in blocks of this size.
constexpr int kWriteBlockBytes = 64 * 1024;

bool IsUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    char32_t c = 0;
    const size_t length = platform::decodeUtf8(bytes, c);
    if (length == 0) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

class TValueText {
 public:
  explicit TValueText(platform::Platform& os) : FOs(os) {}

  // A text of the program's code page.  Every code page the program runs
  // under is a superset of ASCII, so a text without other bytes (most of a
  // list) needs no conversion.
  std::u16string_view text(std::string_view value) {
    FWide.resize(value.size());
    if (!platform::widenAscii(value, FWide.data())) FWide = FOs.ansiToWide(value);
    return FWide;
  }
  // The name of an element of another name.  The reader keeps such names as
  // the raw bytes of the file, which the host writes in UTF-8; read as text
  // of a single-byte code page they would come out mangled, or as
  // characters no name may hold, and the list could not be saved at all.
  std::u16string_view name(std::string_view value) {
    if (!IsUtf8(value)) return text(value);
    FWide = platform::utf8ToUtf16(value);
    return FWide;
  }
  template <class Integer>
  std::u16string_view number(Integer value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return ascii(std::string_view(digits, static_cast<size_t>(end - digits)));
  }
  std::u16string_view ascii(std::string_view value) {
    FWide.resize(value.size());
    std::copy(value.begin(), value.end(), FWide.begin());
    return FWide;
  }

 private:
  platform::Platform& FOs;
  std::u16string FWide;
};

// "&", "<" and the double quote as references, so that a value read from a
// file goes back as the same value: the tree keeps attribute values as
// literal markup.
std::string EscapeAttributeValue(std::string_view value) {
  std::string escaped;
  escaped.reserve(value.size());
  for (const char c : value) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

class TListDocumentBuilder {
 public:
  TListDocumentBuilder(TDomDocument& document, platform::Platform& os)
      : FDocument(document), FValues(os) {}

  // The root element with the list's attributes, as the document's root.
  TDomElement* startList(const TDownloadsList& list) {
    TDomElement* root = FDocument.createElement(u"DownloadList");
    root->setAttribute(u"Version", FValues.text(EscapeAttributeValue(list.Version())));
    root->setAttribute(u"NextID", FValues.text(EscapeAttributeValue(list.NextID())));
    FDocument.appendChild(root);
    return root;
  }

  // A record on a line of its own, normalised: it holds no adjacent texts,
  // so that changes nothing.
  void appendRecord(TDomElement& root, const Tdownload& download) {
    root.appendChild(FDocument.createTextNode(u"\n  "));
    TDomElement* record = FDocument.createElement(u"DownloadFile");
    root.appendChild(record);
    addFields(*record, download);
    record->appendChild(FDocument.createTextNode(u"\n  "));
    record->normalize();
  }

 private:
  void addFields(TDomElement& record, const Tdownload& download) {
    addLooseText(record, download);
    add(record, u"ID", FValues.number(download.ID));
    add(record, u"URL", FValues.text(download.URL));
    add(record, u"FileName", FValues.text(download.FileName));
    add(record, u"State", FValues.number(unsigned{download.State}));
    add(record, u"Size", FValues.number(download.Size));
    add(record, u"SaveDir", FValues.text(download.SaveDir));
    add(record, u"DownloadedSize", FValues.number(download.DownloadedSize));
    add(record, u"LastModified", FValues.text(download.LastModified));
    add(record, u"ResumeMode", FValues.number(unsigned{download.ResumeMode}));
    add(record, u"Date", FValues.ascii(DateTimeToText(download.Date)));
    add(record, u"DownloadTime", FValues.number(download.DownloadTime));
    add(record, u"NodeID", FValues.number(download.NodeID));
    add(record, u"Comment", FValues.text(download.Comment));
    add(record, u"ContentType", FValues.text(download.ContentType));
    for (const std::string& entry : download.ExtraElements) {
      if (IsStructuralEntry(entry)) continue;
      const size_t separator = entry.find(';');
      const std::u16string name(FValues.name(std::string_view(entry).substr(0, separator)));
      const std::string_view text = separator == std::string::npos
                                        ? std::string_view()
                                        : std::string_view(entry).substr(separator + 1);
      add(record, name, FValues.text(text));
    }
  }

  // Text that stood loose inside the record (or inside a nested list
  // element) is read as an entry named after that element.  Written back as
  // such an element it would start a new download, or reset the list's
  // attributes, when the file is read again; written as loose text right
  // after the record's start tag it reads back as the same entry.
  static bool IsStructuralEntry(std::string_view entry) {
    const std::string_view name = entry.substr(0, entry.find(';'));
    return name == "DownloadFile" || name == "DownloadList";
  }
  void addLooseText(TDomElement& record, const Tdownload& download) {
    std::string loose;
    for (const std::string& entry : download.ExtraElements) {
      const size_t separator = entry.find(';');
      if (!IsStructuralEntry(entry) || separator == std::string::npos) continue;
      if (!loose.empty()) loose += ' ';
      loose.append(entry, separator + 1);
    }
    if (!loose.empty()) record.appendChild(FDocument.createTextNode(FValues.text(loose)));
  }

  void add(TDomElement& record, std::u16string_view name, std::u16string_view value) {
    record.appendChild(FDocument.createTextNode(u"\n    "));
    TDomElement* field = FDocument.createElement(name);
    record.appendChild(field);
    field->appendChild(FDocument.createTextNode(value));
  }

  TDomDocument& FDocument;
  TValueText FValues;
};

// The records go into the document a few at a time, each part while the
// serializer writes the one before and freed once written: the same text as
// from the whole tree at once, without holding a tree of the whole list,
// several times the size of the file, in memory.
class TRecordsInParts {
 public:
  static constexpr int recordsPerPart = 8;

  TRecordsInParts(const TDownloadsList& list, TListDocumentBuilder& builder, TDomElement& root)
      : FList(list), FBuilder(builder), FRoot(root) {}

  // The first part, before the serializer starts.
  void appendPart() {
    const int end = FNext + std::min(recordsPerPart, FList.Count() - FNext);
    for (; FNext < end; ++FNext)
      FBuilder.appendRecord(FRoot, FList[FNext]);
  }
  // Lets go of the records written but the last, which the serializer
  // stands on, and appends the next part after it.  A failure is kept
  // for the caller: the serializer would only report an incomplete output.
  void replaceWrittenPart() {
    if (FFailure) return;
    try {
      while (FRoot.firstChild() != FRoot.lastChild())
        FRoot.firstChild()->release();
      appendPart();
    } catch (...) {
      FFailure = std::current_exception();
    }
  }
  void rethrowFailure() const {
    if (FFailure) std::rethrow_exception(FFailure);
  }

 private:
  const TDownloadsList& FList;
  TListDocumentBuilder& FBuilder;
  TDomElement& FRoot;
  int FNext = 0;
  std::exception_ptr FFailure;
};

void WriteDocument(TDomDocument& document, TDomImplementation& implementation,
                   TRecordsInParts& records, const std::string& fileName) {
  platform::Platform& os = platform::current();
  TDomSerializer serializer;
  serializer.setDOMImpl(&implementation);
  serializer.setBufferSize(kWriteBlockBytes);
  serializer.reader().GrowingNode = document.documentElement();
  serializer.reader().OnMoreChildren = [&records] { records.replaceWrittenPart(); };

  platform::WriteHandle file = os.createTemporaryBeside(fileName);
  try {
    TCrLfFileStream stream(os, file, fileName);
    const bool complete = serializer.writeToStream(&document, u"utf-8", &stream);
    stream.finish();
    records.rethrowFailure();
    // An output the serializer gave up on is never put in the list's place.
    if (!complete) throw platform::EFCreateError(fileName, "Signal Processing Exception");
    os.commitAndClose(file, fileName);
    os.replaceWith(file, fileName);
  } catch (...) {
    os.discard(file);
    throw;
  }
}

}  // namespace

void TDownloadsList::Save() const {
  SaveToFile(FFileName);
}

void TDownloadsList::SaveToFile(const std::string& fileName) const {
  // The implementation frees the document with itself should anything fail.
  TDomImplementation implementation;
  auto* document = new TDomDocument(&implementation);
  TListDocumentBuilder builder(*document, platform::current());
  TDomElement* root = builder.startList(*this);
  TRecordsInParts records(*this, builder, *root);
  records.appendPart();
  WriteDocument(*document, implementation, records, fileName);
  document->release();
}

void TDownloadsList::SaveLoadedText(const std::string& fileName) const {
  // The loaded text already has CR LF lines, so it is written as it is.
  if (HasCrLfLines(FLoadedText))
    platform::replaceFileContents(fileName, FLoadedText);
  else
    platform::replaceFileContents(fileName, ToCrLfLines(FLoadedText));
}

}  // namespace brimlow
