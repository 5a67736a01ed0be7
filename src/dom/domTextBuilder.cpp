#include "dom/domTextBuilder.h"

#include <algorithm>
#include <string>

#include "dom/codecs/codecErrors.h"
#include "dom/codecs/codecRegistry.h"
#include "dom/domErrors.h"

namespace brimlow {

namespace {

bool isHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The code units below 80 hexadecimal that go out as the one byte of their
// value: all but the line feed, and in text none of the escaped four.
struct TPlainUnits {
  bool markup[128];
  bool text[128];
  constexpr TPlainUnits() : markup(), text() {
    for (int c = 0; c < 128; ++c) {
      markup[c] = c != '\n';
      text[c] = markup[c] && c != '&' && c != '<' && c != '>' && c != '\r';
    }
  }
};
constexpr TPlainUnits plainUnits;

// Printable ASCII that goes out as it is: in text, all but the three that
// are escaped there.
bool isPrintable(char16_t c, bool escaped) {
  return c >= 0x20 && c < 0x80 && !(escaped && (c == u'&' || c == u'<' || c == u'>'));
}

const char16_t* escapeOf(char16_t c) {
  switch (c) {
    case u'&': return u"&amp;";
    case u'<': return u"&lt;";
    case u'>': return u"&gt;";
    case u'\r': return u"&#xD;";
    default: return nullptr;
  }
}

}  // namespace

void TXmlTextBuilder::setEncoding(std::u16string_view encodingName) {
  if (encodingName.empty()) {
    FEncodingName.clear();
    FCodecClass = nullptr;
  } else {
    const codecs::TCodecClass found = codecs::findCodecClass(encodingName);
    if (!found) throw ENot_Supported_Err("Encoding not supported error.");
    FEncodingName = encodingName;
    FCodecClass = found;
  }
  switchToConfiguredCodec();
}

void TXmlTextBuilder::attachSink(codecs::TOutputSink* sink) {
  FSink = sink;
  switchToConfiguredCodec();
}

void TXmlTextBuilder::switchToConfiguredCodec() {
  if (FSink) FSink->setCodecClass(FCodecClass ? FCodecClass : &codecs::TUtf8Codec::classInfo);
}

void TXmlTextBuilder::resetDocumentState() {
  FStartTagOpen = false;
  FDepth = 0;
  FBytesWritten = FCharactersWritten = FColumn = FLine = FTabsInLine = 0;
}

void TXmlTextBuilder::before(const TWriteSignal& signal, TDomPieceType type) {
  if (OnBeforeWrite) OnBeforeWrite(this, type, signal.locator());
}

void TXmlTextBuilder::after(const TWriteSignal& signal, TDomPieceType type) {
  if (OnAfterWrite) OnAfterWrite(this, type, signal.locator());
}

void TXmlTextBuilder::closeStartTag(const TWriteSignal& signal) {
  if (!FStartTagOpen) return;
  write(signal, u">");
  FStartTagOpen = false;
  after(signal, xmlStartTag);
}

void TXmlTextBuilder::processSignal(const TWriteSignal& signal) {
  if (signal.kind() != TSignalKind::Attribute) closeStartTag(signal);
  switch (signal.kind()) {
    case TSignalKind::StartDocument: {
      const auto& start = static_cast<const TStartDocumentSignal&>(signal);
      startDocument(signal, start.xmlEncoding, &start);
      break;
    }
    case TSignalKind::StartDocumentFragment:
      startDocument(signal, static_cast<const TStartDocumentFragmentSignal&>(signal).encodingName,
                    nullptr);
      break;
    case TSignalKind::StartElement:
      before(signal, xmlStartTag);
      write(signal, u"<");
      write(signal, static_cast<const TTextSignal&>(signal).text);
      ++FDepth;
      FStartTagOpen = true;
      break;
    case TSignalKind::Attribute: {
      const auto& attribute = static_cast<const TAttributeSignal&>(signal);
      write(signal, u" ");
      before(signal, xmlAttribute);
      write(signal, attribute.name);
      write(signal, u"=\"");
      write(signal, attribute.value, TWriteMode::Value);
      write(signal, u"\"");
      after(signal, xmlAttribute);
      break;
    }
    case TSignalKind::PCDATA:
      before(signal, xmlPCDATA);
      write(signal, static_cast<const TTextSignal&>(signal).text, TWriteMode::Text);
      after(signal, xmlPCDATA);
      break;
    case TSignalKind::CDATA:
      before(signal, xmlCDATA);
      write(signal, u"<![CDATA[");
      write(signal, static_cast<const TTextSignal&>(signal).text);
      write(signal, u"]]>");
      after(signal, xmlCDATA);
      break;
    case TSignalKind::Comment:
      before(signal, xmlComment);
      write(signal, u"<!--");
      write(signal, static_cast<const TTextSignal&>(signal).text);
      write(signal, u"-->");
      if (FDepth == 0) write(signal, u"\n");
      after(signal, xmlComment);
      break;
    case TSignalKind::ProcessingInstruction: {
      const auto& instruction = static_cast<const TProcessingInstructionSignal&>(signal);
      before(signal, xmlProcessingInstruction);
      write(signal, u"<?");
      write(signal, instruction.target);
      if (!instruction.data.empty()) {
        write(signal, u" ");
        write(signal, instruction.data);
      }
      write(signal, u"?>");
      if (FDepth == 0) write(signal, u"\n");
      after(signal, xmlProcessingInstruction);
      break;
    }
    case TSignalKind::EntityRef:
      before(signal, xmlEntityRef);
      write(signal, u"&");
      write(signal, static_cast<const TTextSignal&>(signal).text);
      write(signal, u";");
      after(signal, xmlEntityRef);
      break;
    case TSignalKind::Doctype: writeDoctype(static_cast<const TDoctypeSignal&>(signal)); break;
    case TSignalKind::EndElement:
      before(signal, xmlEndTag);
      write(signal, u"</");
      write(signal, static_cast<const TTextSignal&>(signal).text);
      write(signal, u">");
      --FDepth;
      if (FDepth == 0) write(signal, u"\n");
      after(signal, xmlEndTag);
      break;
    case TSignalKind::Completed:
    case TSignalKind::Aborted:
      switchToConfiguredCodec();
      FStartTagOpen = false;
      FDepth = 0;
      break;
    default: throw EParserException("Internal Parser Exception");
  }
}

void TXmlTextBuilder::startDocument(const TWriteSignal& signal,
                                    std::u16string_view documentEncoding,
                                    const TStartDocumentSignal* declaration) {
  resetDocumentState();
  codecs::TCodecClass codecClass = FCodecClass;
  std::u16string_view name = FEncodingName;
  if (FEncodingName.empty()) {
    name = documentEncoding;
    codecClass = documentEncoding.empty() ? &codecs::TUtf8Codec::classInfo
                                          : codecs::findCodecClass(documentEncoding);
  }
  const TDomPieceType type = declaration ? xmlXmlDeclaration : xmlTextDeclaration;
  if (!codecClass) {
    reportError(signal, ekEncodingNotSupported, name);
    return;
  }
  before(signal, type);
  if (FSink) {
    FSink->setCodecClass(codecClass);
    const std::string_view mark = codecs::byteOrderMark(codecClass, UseByteOrderMark);
    try {
      FSink->write(mark.data(), static_cast<int64_t>(mark.size()));
    } catch (...) {
      throw EParserException("Signal Processing Exception");
    }
    FBytesWritten += static_cast<int64_t>(mark.size());
  }
  FEncodingInUse = name;
  if (declaration && IncludeXmlDecl) {
    write(signal, u"<?xml version=\"");
    write(signal, declaration->xmlVersion.empty() ? u"1.0" : declaration->xmlVersion);
    write(signal, u"\"");
    if (!FEncodingInUse.empty()) {
      write(signal, u" encoding=\"");
      write(signal, FEncodingInUse);
      write(signal, u"\"");
    }
    if (declaration->standalone == 0) write(signal, u" standalone=\"yes\"");
    if (declaration->standalone == 1) write(signal, u" standalone=\"no\"");
    write(signal, u"?>");
  }
  after(signal, type);
}

void TXmlTextBuilder::writeDoctype(const TDoctypeSignal& signal) {
  before(signal, xmlDoctype);
  write(signal, u"<!DOCTYPE ");
  write(signal, signal.name);
  if (!signal.systemId.empty()) {
    if (!signal.publicId.empty()) {
      write(signal, u" PUBLIC \"");
      write(signal, signal.publicId);
      write(signal, u"\" ");
    } else {
      write(signal, u" SYSTEM ");
    }
    const bool hasQuote = signal.systemId.find(u'"') != std::u16string_view::npos;
    write(signal, hasQuote ? u"'" : u"\"");
    write(signal, signal.systemId);
    write(signal, hasQuote ? u"'" : u"\"");
  } else if (!signal.publicId.empty()) {
    write(signal, u" PUBLIC \"");
    write(signal, signal.publicId);
    write(signal, u"\"");
  }
  if (!signal.internalSubset.empty()) {
    write(signal, u" [");
    write(signal, signal.internalSubset);
    write(signal, u"] >");
  } else {
    write(signal, u" >");
  }
  write(signal, u"\n");
  after(signal, xmlDoctype);
}

void TXmlTextBuilder::write(const TWriteSignal& signal, std::u16string_view text, TWriteMode mode) {
  try {
    writeUnits(text, mode);
  } catch (...) {
    reportError(signal, ekStringNotWritable, text);
  }
}

void TXmlTextBuilder::writeUnits(std::u16string_view text, TWriteMode mode) {
  if (!FSink) return;
  if (FSink->asciiTransparent() && copyWhole(text, mode == TWriteMode::Text)) return;
  const bool escaped = mode == TWriteMode::Text;
  const bool referencesAllowed = mode != TWriteMode::Markup;
  const bool ascii = FSink->asciiTransparent();
  const size_t length = text.size();
  size_t i = 0;
  while (i < length) {
    if (ascii) {
      i += copyPlain(text.data() + i, length - i, escaped);
      if (i == length) break;
    }
    const char16_t unit = text[i];
    if (escaped) {
      if (const char16_t* escape = escapeOf(unit)) {
        for (; *escape; ++escape)
          writeCharacter(*escape, false);
        ++i;
        continue;
      }
    }
    char32_t codePoint = unit;
    if (isHighSurrogate(unit)) {
      if (i + 1 >= length || !isLowSurrogate(text[i + 1])) throw EWriteError("Invalid Character");
      codePoint = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
      ++i;
    } else if (isLowSurrogate(unit)) {
      throw EWriteError("Invalid Character");
    }
    writeCharacter(codePoint, referencesAllowed);
    ++i;
  }
}

bool TXmlTextBuilder::copyWhole(std::u16string_view text, bool escaped) {
  // Most pieces of a list are short: a name, a number, the line feed and
  // indentation between tags.  One that is all printable ASCII and line
  // feeds goes into the sink's buffer in a single pass when it fits there;
  // otherwise nothing is committed and the caller writes it the long way.
  size_t room = 0;
  uint8_t* const out = FSink->room(room);
  if (room < 2 * text.size()) return false;
  const codecs::TLineFeedOption lineFeed = FSink->lineFeedOption();
  size_t used = 0;
  int64_t lines = 0;
  size_t lineStart = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (isPrintable(c, escaped)) {
      out[used++] = static_cast<uint8_t>(c);
    } else if (c == u'\n') {
      if (lineFeed != codecs::lwLF) out[used++] = 0x0D;
      if (lineFeed != codecs::lwCR) out[used++] = 0x0A;
      ++lines;
      lineStart = i + 1;
    } else {
      return false;
    }
  }
  FSink->commit(used);
  countRun(text.size(), static_cast<int64_t>(used), lines, lineStart, 0);
  return true;
}

size_t TXmlTextBuilder::copyPlain(const char16_t* units, size_t count, bool escaped) {
  // Most of a list is plain text and line breaks: their characters go
  // straight into the sink's buffer, encoded there, with the counters moved
  // on for all of them at once.  What needs more (an escape, a surrogate
  // pair) and a character that does not fit in the buffer's remaining room
  // are left to the caller, which writes them one at a time.
  const bool* const plain = escaped ? plainUnits.text : plainUnits.markup;
  const codecs::TLineFeedOption lineFeed = FSink->lineFeedOption();
  size_t done = 0;
  int64_t bytes = 0;
  int64_t tabs = 0;  // since the last line feed, or since the start
  int64_t lines = 0;
  size_t lineStart = 0;  // where the last line began, once there is one
  bool bufferFull = true;
  while (done < count && bufferFull) {
    size_t room = 0;
    uint8_t* const out = FSink->room(room);
    size_t used = 0;
    bufferFull = false;
    for (; done < count; ++done) {
      const char16_t c = units[done];
      if (c < 0x80) {
        if (c == u'\n') {
          if (room - used < (lineFeed == codecs::lwCRLF ? 2u : 1u)) break;
          if (lineFeed != codecs::lwLF) out[used++] = 0x0D;
          if (lineFeed != codecs::lwCR) out[used++] = 0x0A;
          ++lines;
          lineStart = done + 1;
          tabs = 0;
          continue;
        }
        if (!plain[c]) break;
        if (used == room) {
          bufferFull = true;
          break;
        }
        out[used++] = static_cast<uint8_t>(c);
        tabs += c == u'\t';
      } else if (c < 0x800) {
        if (room - used < 2) break;
        out[used++] = static_cast<uint8_t>(0xC0 | (c >> 6));
        out[used++] = static_cast<uint8_t>(0x80 | (c & 0x3F));
      } else if (c < 0xD800 || c > 0xDFFF) {
        if (room - used < 3) break;
        out[used++] = static_cast<uint8_t>(0xE0 | (c >> 12));
        out[used++] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
        out[used++] = static_cast<uint8_t>(0x80 | (c & 0x3F));
      } else {
        break;
      }
    }
    FSink->commit(used);
    bytes += static_cast<int64_t>(used);
  }
  countRun(done, bytes, lines, lineStart, tabs);
  return done;
}

void TXmlTextBuilder::countRun(size_t units, int64_t bytes, int64_t lines, size_t lineStart,
                               int64_t tabs) {
  FBytesWritten += bytes;
  FCharactersWritten += static_cast<int64_t>(units);
  if (lines > 0) {
    FLine += lines;
    FColumn = static_cast<int64_t>(units - lineStart);
    FTabsInLine = tabs;
  } else {
    FColumn += static_cast<int64_t>(units);
    FTabsInLine += tabs;
  }
}

void TXmlTextBuilder::writeCharacter(char32_t codePoint, bool referencesAllowed) {
  int bytes = 0;
  try {
    bytes = FSink->writeCharacter(codePoint);
  } catch (const codecs::EConvertError&) {
    if (!referencesAllowed) throw EWriteError("Invalid Character");
    const std::string reference = "&#x" + codecs::upperHex(codePoint) + ";";
    try {
      for (const char c : reference)
        writeCharacter(static_cast<unsigned char>(c), false);
    } catch (...) {
      throw EWriteError("Invalid Character");
    }
    return;
  }
  count(codePoint, bytes);
}

void TXmlTextBuilder::count(char32_t codePoint, int bytes) {
  FBytesWritten += bytes;
  ++FCharactersWritten;
  if (codePoint == U'\t') {
    ++FColumn;
    ++FTabsInLine;
  } else if (codePoint == U'\n') {
    ++FLine;
    FColumn = 0;
    FTabsInLine = 0;
  } else {
    ++FColumn;
  }
}

void TXmlTextBuilder::reportError(const TWriteSignal& signal, TDomErrorKind kind,
                                  std::u16string_view text) {
  if (TCustomTreeReader* reader = signal.sender()) {
    reader->reportError(kind, text, signal.locator());
    return;
  }
  if (severityOf(kind) == TDomSeverity::FatalError)
    throw EParserException("Signal Processing Exception");
}

}  // namespace brimlow
