#include "dom/domTextBuilder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// How the fast path writes a code unit below 80 hexadecimal: as its one
// byte, as a tab (one byte, counted apart), as a line break, as one of the
// escapes of text, or not at all.
enum TUnitClass : uint8_t { ucPlain, ucTab, ucLineFeed, ucEscape };
struct TUnitClasses {
  uint8_t markup[128];
  uint8_t text[128];
  constexpr TUnitClasses() : markup(), text() {
    for (int c = 0; c < 128; ++c) {
      markup[c] = static_cast<uint8_t>(c == '\n' ? ucLineFeed : c == '\t' ? ucTab : ucPlain);
      const bool escaped = c == '&' || c == '<' || c == '>' || c == '\r';
      text[c] = escaped ? static_cast<uint8_t>(ucEscape) : markup[c];
    }
  }
};
constexpr TUnitClasses unitClasses;

bool isEscapedInText(char16_t c) {
  return c < 0x80 && unitClasses.text[c] == ucEscape;
}

// The escape of a unit escaped in text, in bytes.
std::string_view escapeBytesOf(char16_t c) {
  switch (c) {
    case u'&': return "&amp;";
    case u'<': return "&lt;";
    case u'>': return "&gt;";
    default: return "&#xD;";
  }
}
// The most bytes one code unit becomes on the fast path: an escape.
constexpr size_t maxBytesPerUnit = 5;

// Printable ASCII that is written as it is in text as well as in markup.
struct TPlainAscii {
  bool plain[128];
  constexpr TPlainAscii() : plain() {
    for (int c = 0x20; c < 0x80; ++c)
      plain[c] = c != '&' && c != '<' && c != '>';
  }
};
constexpr TPlainAscii plainAscii;
bool isPlainAscii(char16_t c) {
  return c < 0x80 && plainAscii.plain[c];
}

#ifdef __SSE2__
// One bit pair per unit of the eight at `units` that is plain ASCII.
inline unsigned plainAsciiMask(const char16_t* units) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
  // Printable ASCII: 20 to 7F hexadecimal, as an unsigned difference.
  const __m128i printable =
      _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(v, _mm_set1_epi16(0x20)), _mm_set1_epi16(0x5F)),
                      _mm_setzero_si128());
  const __m128i escaped = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16(u'&')),
                                                    _mm_cmpeq_epi16(v, _mm_set1_epi16(u'<'))),
                                       _mm_cmpeq_epi16(v, _mm_set1_epi16(u'>')));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(escaped, printable)));
}

// The eight units at `units` as bytes at `out`, plain or not.
inline void narrowEight(const char16_t* units, uint8_t* out) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(v, v));
}
#endif

// Copies the leading printable ASCII units, none of them escaped in text,
// as bytes to `out`, which has room for `count`; their count.  Bytes after
// them up to `count` may be written too, to be overwritten.  Eight at a time
// where the processor allows, since whole names and paths are such runs;
// the last few of a text of eight or more are taken with the eight before.
[[gnu::always_inline]] inline size_t copyPlainAscii(const char16_t* units, size_t count,
                                                    uint8_t* out) {
#ifdef __SSE2__
  if (count >= 8) {
    size_t done = 0;
    for (;;) {
      const bool last = done + 8 > count;
      const size_t at = last ? count - 8 : done;
      const unsigned plain = plainAsciiMask(units + at);
      narrowEight(units + at, out + at);
      // Units before `done` in an overlapping last eight are plain: they
      // were taken before.
      const unsigned stops = ~plain & 0xFFFFu;
      if (stops != 0) return at + static_cast<size_t>(std::countr_zero(stops)) / 2;
      done = at + 8;
      if (done == count) return count;
    }
  }
#endif
  size_t done = 0;
  for (; done < count && isPlainAscii(units[done]); ++done)
    out[done] = static_cast<uint8_t>(units[done]);
  return done;
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

void TXmlTextBuilder::finishStartTag(const TWriteSignal& signal) {
  if (!copyTag(">", {}, {})) write(signal, u">");
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
      if (!copyTag("<", static_cast<const TTextSignal&>(signal).text, {})) {
        write(signal, u"<");
        write(signal, static_cast<const TTextSignal&>(signal).text);
      }
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
      if (!copyTag("</", static_cast<const TTextSignal&>(signal).text, ">")) {
        write(signal, u"</");
        write(signal, static_cast<const TTextSignal&>(signal).text);
        write(signal, u">");
      }
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
  size_t done = 0;
  if (FSink->asciiTransparent()) {
    done = copyEncoded(text.data(), text.size(), mode == TWriteMode::Text);
    if (done == text.size()) return;
  }
  writeOneByOne(text, done, mode);
}

void TXmlTextBuilder::writeOneByOne(std::u16string_view text, size_t i, TWriteMode mode) {
  const bool escaped = mode == TWriteMode::Text;
  const bool referencesAllowed = mode != TWriteMode::Markup;
  const bool ascii = FSink->asciiTransparent();
  const size_t length = text.size();
  while (i < length) {
    const char16_t unit = text[i];
    if (escaped) {
      if (isEscapedInText(unit)) {
        for (const char c : escapeBytesOf(unit))
          writeCharacter(static_cast<unsigned char>(c), false);
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
    if (ascii && i < length) i += copyEncoded(text.data() + i, length - i, escaped);
  }
}

bool TXmlTextBuilder::copyTag(std::string_view before, std::u16string_view name,
                              std::string_view after) {
  // A tag of an ASCII name is most of the markup of a list: it goes into the
  // buffer whole, or not at all and the long way.
  if (!FSink || !FSink->asciiTransparent()) return false;
  const size_t length = before.size() + name.size() + after.size();
  size_t room = 0;
  uint8_t* out = FSink->room(room);
  if (room < length) return false;
  out = std::copy(before.begin(), before.end(), out);
  if (copyPlainAscii(name.data(), name.size(), out) != name.size()) return false;
  std::copy(after.begin(), after.end(), out + name.size());
  FSink->commit(length);
  countRun(length, static_cast<int64_t>(length), 0, 0, 0);
  return true;
}

size_t TXmlTextBuilder::copyEncoded(const char16_t* units, size_t count, bool escaped) {
  // Nearly all of a list goes this way: its characters are encoded straight
  // into the sink's buffer, escapes included, and the counters move on once
  // for the whole run.  A surrogate pair, and the last few characters before
  // the buffer is full, are left to the caller, which writes them one at a
  // time.
  const uint8_t* const classes = escaped ? unitClasses.text : unitClasses.markup;
  size_t room = 0;
  uint8_t* const out = FSink->room(room);
  const size_t sure = std::min(count, room / maxBytesPerUnit);
  size_t used = 0;
  size_t done = 0;
  size_t extraCharacters = 0;  // the characters of escapes beyond the one unit
  int64_t tabs = 0;            // since the last line feed, or since the start
  int64_t lines = 0;
  size_t lineStart = 0;  // characters before the last line, once there is one
  while (done < sure) {
    const char16_t c = units[done];
    if (isPlainAscii(c)) {
      const size_t plain = copyPlainAscii(units + done, sure - done, out + used);
      done += plain;
      used += plain;
      continue;
    }
    if (c < 0x80) {
      switch (classes[c]) {
        case ucPlain:
        case ucTab:
          out[used++] = static_cast<uint8_t>(c);
          tabs += c == u'\t';
          break;
        case ucLineFeed:
          if (FSink->lineFeedOption() != codecs::lwLF) out[used++] = 0x0D;
          if (FSink->lineFeedOption() != codecs::lwCR) out[used++] = 0x0A;
          ++lines;
          lineStart = done + 1 + extraCharacters;
          tabs = 0;
          break;
        default: {
          const std::string_view escape = escapeBytesOf(c);
          std::memcpy(out + used, escape.data(), escape.size());
          used += escape.size();
          extraCharacters += escape.size() - 1;
        }
      }
    } else if (c < 0x800) {
      // Two-byte characters come in words of a script: the whole run goes.
      char16_t unit = c;
      do {
        out[used++] = static_cast<uint8_t>(0xC0 | (unit >> 6));
        out[used++] = static_cast<uint8_t>(0x80 | (unit & 0x3F));
      } while (++done < sure && (unit = units[done]) >= 0x80 && unit < 0x800);
      continue;
    } else if (c < 0xD800 || c > 0xDFFF) {
      out[used++] = static_cast<uint8_t>(0xE0 | (c >> 12));
      out[used++] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
      out[used++] = static_cast<uint8_t>(0x80 | (c & 0x3F));
    } else {
      break;
    }
    ++done;
  }
  FSink->commit(used);
  countRun(done + extraCharacters, static_cast<int64_t>(used), lines, lineStart, tabs);
  return done;
}

void TXmlTextBuilder::countRun(size_t characters, int64_t bytes, int64_t lines, size_t lineStart,
                               int64_t tabs) {
  FBytesWritten += bytes;
  FCharactersWritten += static_cast<int64_t>(characters);
  if (lines > 0) {
    FLine += lines;
    FColumn = static_cast<int64_t>(characters - lineStart);
    FTabsInLine = tabs;
  } else {
    FColumn += static_cast<int64_t>(characters);
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
