#pragma once

// The signals that carry a document from the tree reader to the text
// builder, one per syntactic piece.  A signal lives for one handling: the
// reader makes it, hands it on and drops it right after, so its texts are
// views into the tree.

#include <cstdint>
#include <string_view>

#include "dom/domComponent.h"
#include "dom/domElement.h"
#include "dom/domLocator.h"

namespace brimlow {

class TCustomTreeReader;

enum TDomPieceType : uint8_t {
  xmlProcessingInstruction,
  xmlComment,
  xmlCDATA,
  xmlPCDATA,
  xmlDoctype,
  xmlStartTag,
  xmlEndTag,
  xmlEmptyElementTag,
  xmlCharRef,
  xmlEntityRef,
  xmlAttribute,
  xmlParameterEntityRef,
  xmlEntityDecl,
  xmlElementDecl,
  xmlAttributeDecl,
  xmlNotationDecl,
  xmlCondSection,
  xmlParameterEntityDecl,
  xmlXmlDeclaration,
  xmlTextDeclaration,
  xmlUnknown,
};

enum class TSignalKind : uint8_t {
  StartDocument,
  StartDocumentFragment,
  StartElement,
  Attribute,
  PCDATA,
  CDATA,
  Comment,
  ProcessingInstruction,
  EntityRef,
  Doctype,
  EndElement,
  Completed,
  Aborted,
};

class TWriteSignal {
 public:
  TWriteSignal(TSignalKind kind, TCustomTreeReader* sender, const TDomLocator& locator)
      : FKind(kind), FSender(sender), FLocator(locator) {}
  virtual ~TWriteSignal() = default;
  TWriteSignal(const TWriteSignal&) = delete;
  TWriteSignal& operator=(const TWriteSignal&) = delete;

  TSignalKind kind() const { return FKind; }
  TCustomTreeReader* sender() const { return FSender; }
  const TDomLocator& locator() const { return FLocator; }

 private:
  TSignalKind FKind;
  TCustomTreeReader* FSender;
  const TDomLocator& FLocator;
};

struct TStartDocumentSignal final : TWriteSignal {
  TStartDocumentSignal(TCustomTreeReader* sender, const TDomLocator& locator)
      : TWriteSignal(TSignalKind::StartDocument, sender, locator) {}
  std::u16string_view inputEncoding;
  std::u16string_view xmlEncoding;
  uint8_t standalone = 2;
  std::u16string_view xmlVersion;
};

struct TStartDocumentFragmentSignal final : TWriteSignal {
  TStartDocumentFragmentSignal(TCustomTreeReader* sender, const TDomLocator& locator)
      : TWriteSignal(TSignalKind::StartDocumentFragment, sender, locator) {}
  std::u16string_view encodingName;
};

// The signals whose payload is one text: the tag name of a start or end tag,
// the data of a CDATA section or comment, the name of an entity reference.
struct TTextSignal : TWriteSignal {
  TTextSignal(TSignalKind kind, TCustomTreeReader* sender, const TDomLocator& locator,
              std::u16string_view text)
      : TWriteSignal(kind, sender, locator), text(text) {}
  std::u16string_view text;
};

struct TStartElementSignal final : TTextSignal {
  TStartElementSignal(TCustomTreeReader* sender, const TDomLocator& locator,
                      std::u16string_view tagName)
      : TTextSignal(TSignalKind::StartElement, sender, locator, tagName) {}
};

struct TEndElementSignal final : TTextSignal {
  TEndElementSignal(TCustomTreeReader* sender, const TDomLocator& locator,
                    std::u16string_view tagName)
      : TTextSignal(TSignalKind::EndElement, sender, locator, tagName) {}
};

struct TCDATASignal final : TTextSignal {
  TCDATASignal(TCustomTreeReader* sender, const TDomLocator& locator, std::u16string_view data)
      : TTextSignal(TSignalKind::CDATA, sender, locator, data) {}
};

struct TCommentSignal final : TTextSignal {
  TCommentSignal(TCustomTreeReader* sender, const TDomLocator& locator, std::u16string_view data)
      : TTextSignal(TSignalKind::Comment, sender, locator, data) {}
};

struct TEntityRefSignal final : TTextSignal {
  TEntityRefSignal(TCustomTreeReader* sender, const TDomLocator& locator, std::u16string_view name)
      : TTextSignal(TSignalKind::EntityRef, sender, locator, name) {}
};

struct TPCDATASignal final : TTextSignal {
  TPCDATASignal(TCustomTreeReader* sender, const TDomLocator& locator, std::u16string_view data,
                bool flag)
      : TTextSignal(TSignalKind::PCDATA, sender, locator, data), flag(flag) {}
  bool flag;  // the text node's flag, passed along and not looked at
};

struct TAttributeSignal final : TWriteSignal {
  TAttributeSignal(TCustomTreeReader* sender, const TDomLocator& locator)
      : TWriteSignal(TSignalKind::Attribute, sender, locator) {}
  TDomAttrDeclaredType declaredType = TDomAttrDeclaredType::None;
  std::u16string_view name;
  std::u16string_view value;  // the literal value
};

struct TProcessingInstructionSignal final : TWriteSignal {
  TProcessingInstructionSignal(TCustomTreeReader* sender, const TDomLocator& locator)
      : TWriteSignal(TSignalKind::ProcessingInstruction, sender, locator) {}
  std::u16string_view target;
  std::u16string_view data;
};

struct TDoctypeSignal final : TWriteSignal {
  TDoctypeSignal(TCustomTreeReader* sender, const TDomLocator& locator)
      : TWriteSignal(TSignalKind::Doctype, sender, locator) {}
  std::u16string_view name;
  std::u16string_view publicId;
  std::u16string_view systemId;
  std::u16string_view internalSubset;
};

struct TCompletedSignal final : TWriteSignal {
  TCompletedSignal(TCustomTreeReader* sender, const TDomLocator& locator)
      : TWriteSignal(TSignalKind::Completed, sender, locator) {}
};

struct TAbortedSignal final : TWriteSignal {
  TAbortedSignal(TCustomTreeReader* sender, const TDomLocator& locator)
      : TWriteSignal(TSignalKind::Aborted, sender, locator) {}
};

// Receives signals one at a time.
class TCustomSignalHandler : public TDomComponent {
 public:
  using TDomComponent::TDomComponent;
  virtual void processSignal(const TWriteSignal& signal) = 0;
};

// Sends the signals of a piece of a tree, and hears of the errors its
// handlers meet.
class TCustomTreeReader : public TDomComponent {
 public:
  using TDomComponent::TDomComponent;
  // A handler's error: returns when the output may go on, otherwise fails
  // with EParserException "Signal Processing Exception".
  virtual void reportError(TDomErrorKind kind, std::u16string_view text,
                           const TDomLocator& locator) = 0;
};

}  // namespace brimlow
