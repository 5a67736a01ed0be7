// Writing a downloads list in the host's format: the records become a
// document tree, the serializer writes it as UTF-8 with CR LF line ends, and
// the file is replaced all or nothing: the text goes to a temporary file
// beside it, which takes the list file's place only once it is complete and
// on disk.  Any failure leaves the old file exactly as it was.

#include <charconv>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

#include "data/dateTime.h"
#include "data/downloadsList.h"
#include "data/textLines.h"
#include "dom/codecs/stream.h"
#include "dom/domDocument.h"
#include "dom/domSerializer.h"
#include "platform/platform.h"
#include "platform/unicode.h"

namespace brimlow {

namespace {

// The serializer hands its output over in blocks of this size.
constexpr int kWriteBlockBytes = 64 * 1024;

// The temporary file as the serializer's destination.  Every line leaves
// followed by CR LF: a CR or LF on its own becomes CR LF, and a text that
// does not end with a line break gets one.  The serializer already writes
// CR LF for every line feed, so normally the bytes pass unchanged.
class TListFileStream final : public codecs::TStream {
 public:
  TListFileStream(platform::Platform& os, platform::WriteHandle& file, const std::string& target)
      : FOs(os), FFile(file), FTarget(target) {}

  int64_t position() const override { return FPosition; }
  void setPosition(int64_t position) override {
    // The serializer only ever appends.
    if (position != FPosition) throw std::logic_error("the list file is written in order");
  }
  int64_t write(const void* bytes, int64_t count) override {
    try {
      writeLines(std::string_view(static_cast<const char*>(bytes), static_cast<size_t>(count)));
    } catch (...) {
      // The serializer turns a failure into a false result and the sink's
      // last flush drops it; the writer raises it again afterwards.
      if (!FFailure) FFailure = std::current_exception();
      throw;
    }
    FPosition += count;
    return count;
  }

  // Ends the last line and raises the first failure the writes met.
  void finish() {
    if (FFailure) std::rethrow_exception(FFailure);
    if (!FAtLineStart) put("\r\n");
  }

 private:
  void put(std::string_view bytes) {
    if (bytes.empty()) return;
    FOs.writeAll(FFile, bytes, FTarget);
    FAtLineStart = bytes.back() == '\n';
  }

  void writeLines(std::string_view bytes) {
    size_t done = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
      const char c = bytes[i];
      if (c == '\n' && FAfterCr) {
        // The second half of a CR LF whose CR ended the previous block.
        FAfterCr = false;
        done = i + 1;
        continue;
      }
      FAfterCr = false;
      if (c == '\r') {
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
          ++i;
          continue;
        }
        put(bytes.substr(done, i - done));
        put("\r\n");
        done = i + 1;
        FAfterCr = true;
      } else if (c == '\n') {
        put(bytes.substr(done, i - done));
        put("\r\n");
        done = i + 1;
      }
    }
    put(bytes.substr(done));
  }

  platform::Platform& FOs;
  platform::WriteHandle& FFile;
  const std::string& FTarget;
  int64_t FPosition = 0;
  bool FAfterCr = false;     // the last byte written was a CR turned into CR LF
  bool FAtLineStart = true;  // nothing written yet, or the last line ended
  std::exception_ptr FFailure;
};

// The value texts of the fields, as the tree takes them.
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

  // A text of the program's code page.
  std::u16string_view text(std::string_view value) {
    FWide = FOs.ansiToWide(value);
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
    FWide.assign(value.begin(), value.end());
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

  void build(const TDownloadsList& list) {
    TDomElement* root = FDocument.createElement(u"DownloadList");
    root->setAttribute(u"Version", FValues.text(EscapeAttributeValue(list.Version())));
    root->setAttribute(u"NextID", FValues.text(EscapeAttributeValue(list.NextID())));
    FDocument.appendChild(root);
    for (int i = 0; i < list.Count(); ++i) {
      root->appendChild(FDocument.createTextNode(u"\n  "));
      TDomElement* record = FDocument.createElement(u"DownloadFile");
      root->appendChild(record);
      addFields(*record, list[i]);
      record->appendChild(FDocument.createTextNode(u"\n  "));
    }
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

void WriteDocument(TDomDocument& document, TDomImplementation& implementation,
                   const std::string& fileName) {
  platform::Platform& os = platform::current();
  TDomSerializer serializer;
  serializer.setDOMImpl(&implementation);
  serializer.setBufferSize(kWriteBlockBytes);

  platform::WriteHandle file = os.createTemporaryBeside(fileName);
  try {
    TListFileStream stream(os, file, fileName);
    const bool complete = serializer.writeToStream(&document, u"utf-8", &stream);
    stream.finish();
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
  TListDocumentBuilder(*document, platform::current()).build(*this);
  document->normalize();
  WriteDocument(*document, implementation, fileName);
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
