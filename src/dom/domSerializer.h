#pragma once

// The tree serializer: a node and its subtree as XML text in a named
// encoding, into a stream or an in-memory string.  It owns the tree reader,
// the text builder and the well-formedness checker and carries the options.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dom/codecs/codecs.h"
#include "dom/codecs/stream.h"
#include "dom/domTextBuilder.h"
#include "dom/domTreeReader.h"

namespace brimlow {

// The encoding name of a Windows code page, as the serializer writes it when
// told to use the system's code page; empty for a page without one.
std::u16string_view codePageEncodingName(unsigned codePage);

class TCustomSerializer : public TDomComponent {
 public:
  using TDomComponent::TDomComponent;
};

class TDomSerializer final : public TCustomSerializer {
 public:
  explicit TDomSerializer(TDomComponent* owner = nullptr);

  TDomImplementation* DOMImpl() const { return FDOMImpl; }
  // The implementation that hears of errors; it must be set before writing
  // and is dropped again when it is freed.
  void setDOMImpl(TDomImplementation* implementation);
  bool ErrorReportingEnabled() const { return FReader->ErrorReportingEnabled; }
  void setErrorReportingEnabled(bool enabled) { FReader->ErrorReportingEnabled = enabled; }
  int BufferSize() const { return FBufferSize; }
  // Fails with ENot_Supported_Err "BufferSize must not be less than 1024."
  // below 1024, keeping the size it had.
  void setBufferSize(int size);
  bool IgnoreUnspecified() const { return FReader->IgnoreUnspecified; }
  void setIgnoreUnspecified(bool ignore) { FReader->IgnoreUnspecified = ignore; }
  bool IncludeXmlDecl() const { return FBuilder->IncludeXmlDecl; }
  void setIncludeXmlDecl(bool include) { FBuilder->IncludeXmlDecl = include; }
  // Kept for callers that set it; no check of the signal stream is built,
  // so the output is the same either way.
  bool StrictErrorChecking() const { return FStrictErrorChecking; }
  void setStrictErrorChecking(bool strict) { FStrictErrorChecking = strict; }
  bool UseActiveCodePage() const { return FUseActiveCodePage; }
  void setUseActiveCodePage(bool use) { FUseActiveCodePage = use; }
  codecs::TByteOrderMarkSet UseByteOrderMark() const { return FBuilder->UseByteOrderMark; }
  void setUseByteOrderMark(codecs::TByteOrderMarkSet marks) { FBuilder->UseByteOrderMark = marks; }
  codecs::TLineFeedOption WriteLFOption() const { return FWriteLFOption; }
  void setWriteLFOption(codecs::TLineFeedOption option) { FWriteLFOption = option; }
  void setOnBeforeWrite(TDomSerializationEvent event) {
    FBuilder->OnBeforeWrite = std::move(event);
  }
  void setOnAfterWrite(TDomSerializationEvent event) { FBuilder->OnAfterWrite = std::move(event); }
  // Where UseActiveCodePage learns the system's 8-bit code page.  This
  // library does not talk to the system; the caller that turns the option on
  // says how to ask.  Unset, the code page has no name.
  std::function<unsigned()> ActiveCodePage;

  // Serializes the node and its subtree to the destination.  True on
  // success; false when a reported error aborted the output, whose bytes so
  // far are in the destination.  Misuse raises: EAccessViolation without an
  // implementation, destination or node, ENot_Supported_Err for an encoding
  // no codec answers to (nothing written).
  bool writeToStream(TDomNode* node, std::u16string_view encoding, codecs::TStream* destination);
  // The same into `bytes`, emptied first: the encoded text as it is, also
  // what an aborted output wrote.
  bool writeToString(TDomNode* node, std::u16string_view encoding, std::string& bytes);
  // The same as UTF-16 little endian into a wide string.
  bool writeToWideString(TDomNode* node, std::u16string& text);

  TDomTreeReader& reader() const { return *FReader; }
  TXmlTextBuilder& builder() const { return *FBuilder; }

 protected:
  void notification(TDomComponent* component) override;

 private:
  TDomTreeReader* FReader;
  TXmlTextBuilder* FBuilder;
  TDomImplementation* FDOMImpl = nullptr;
  int FBufferSize = 4096;
  bool FStrictErrorChecking = false;
  bool FUseActiveCodePage = false;
  codecs::TLineFeedOption FWriteLFOption = codecs::lwCRLF;
};

}  // namespace brimlow
