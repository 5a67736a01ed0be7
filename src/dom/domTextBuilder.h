#pragma once

// The text builder: turns each signal into its piece of XML text and hands
// the characters to the output sink, which encodes and buffers them.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dom/codecs/codecs.h"
#include "dom/codecs/outputSink.h"
#include "dom/domSignals.h"

namespace brimlow {

class TXmlTextBuilder;

// Called before and after each piece written.
using TDomSerializationEvent = std::function<void(TXmlTextBuilder* sender, TDomPieceType pieceType,
                                                  const TDomLocator& locator)>;

class TXmlTextBuilder final : public TCustomSignalHandler {
 public:
  explicit TXmlTextBuilder(TDomComponent* owner) : TCustomSignalHandler(owner) {}

  bool IncludeXmlDecl = true;
  codecs::TByteOrderMarkSet UseByteOrderMark{codecs::bomUTF16, codecs::bomUCS2};
  TDomSerializationEvent OnBeforeWrite;
  TDomSerializationEvent OnAfterWrite;

  void processSignal(const TWriteSignal& signal) override;
  // Configures the encoding of the next documents: a name no codec answers
  // to fails with ENot_Supported_Err "Encoding not supported error."; an
  // empty name forgets the configured one.  An attached sink switches to
  // the configured codec, or UTF-8 without one.
  void setEncoding(std::u16string_view encodingName);
  const std::u16string& encoding() const { return FEncodingName; }

  // The sink that receives the text, attached for one write only.
  void attachSink(codecs::TOutputSink* sink);
  void detachSink() { FSink = nullptr; }

  // Counters of the current document.
  int64_t bytesWritten() const { return FBytesWritten; }
  int64_t charactersWritten() const { return FCharactersWritten; }
  int64_t line() const { return FLine; }
  int64_t column() const { return FColumn; }
  int64_t tabsInLine() const { return FTabsInLine; }
  int depth() const { return FDepth; }

 private:
  enum class TWriteMode : uint8_t { Markup, Text, Value };

  void resetDocumentState();
  void switchToConfiguredCodec();
  void startDocument(const TWriteSignal& signal, std::u16string_view documentEncoding,
                     const TStartDocumentSignal* declaration);
  void writeDoctype(const TDoctypeSignal& signal);
  void closeStartTag(const TWriteSignal& signal) {
    if (FStartTagOpen) finishStartTag(signal);
  }
  void finishStartTag(const TWriteSignal& signal);
  void before(const TWriteSignal& signal, TDomPieceType type);
  void after(const TWriteSignal& signal, TDomPieceType type);
  // One string of a piece; a failure is reported as an error of kind 65
  // and, when the report lets the output go on, the rest of that string is
  // dropped.
  void write(const TWriteSignal& signal, std::u16string_view text,
             TWriteMode mode = TWriteMode::Markup);
  void writeUnits(std::u16string_view text, TWriteMode mode);
  // The rest of a text from `i` on, one character at a time where the fast
  // path cannot take it.
  void writeOneByOne(std::u16string_view text, size_t i, TWriteMode mode);
  // Writes `before`, the ASCII name and `after` straight into the sink's
  // buffer when they fit there whole; false, with nothing written, otherwise.
  bool copyTag(std::string_view before, std::u16string_view name, std::string_view after);
  // Encodes the leading characters that need no surrogate pairing straight
  // into the sink's buffer, escaping them in text; their count in code
  // units.  Stops early when the buffer is nearly full.
  size_t copyEncoded(const char16_t* units, size_t count, bool escaped);
  // Moves the counters on over `characters` characters written as `bytes`
  // bytes, with `lines` line feeds, the last ending after `lineStart`
  // characters, and `tabs` tabs after it (or since the start, without one).
  void countRun(size_t characters, int64_t bytes, int64_t lines, size_t lineStart, int64_t tabs);
  void writeCharacter(char32_t codePoint, bool referencesAllowed);
  void count(char32_t codePoint, int bytes);
  void reportError(const TWriteSignal& signal, TDomErrorKind kind, std::u16string_view text);

  std::u16string FEncodingName;
  codecs::TCodecClass FCodecClass = nullptr;
  std::u16string FEncodingInUse;
  codecs::TOutputSink* FSink = nullptr;
  bool FStartTagOpen = false;
  int FDepth = 0;
  int64_t FBytesWritten = 0;
  int64_t FCharactersWritten = 0;
  int64_t FColumn = 0;
  int64_t FLine = 0;
  int64_t FTabsInLine = 0;
};

}  // namespace brimlow
