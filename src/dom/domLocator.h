#pragma once

// Where a piece of output or an error stands, and the error report that the
// serializer hands to the implementation.

#include <cstdint>
#include <string>
#include <string_view>

namespace brimlow {

class TDomNode;

// The position record of a signal.  For signals made from a tree the
// positions are fixed values; the related node is the node being sent and
// the URI the document's URI.
struct TDomLocator {
  const TDomNode* relatedNode = nullptr;
  std::u16string_view uri;
  int64_t startByteNumber = -1;
  int64_t endByteNumber = -1;
  int64_t startLineNumber = -1;
  int64_t endLineNumber = -1;
  int64_t startColumnNumber = -1;
  int64_t endColumnNumber = -1;
};

enum class TDomSeverity : uint8_t { Warning, Error, FatalError };

// Kinds of the errors the serializer reports; both are fatal.
enum TDomErrorKind : uint16_t {
  ekStringNotWritable = 65,      // a string cannot be written
  ekEncodingNotSupported = 153,  // no codec answers to the encoding name
};

inline TDomSeverity severityOf(TDomErrorKind kind) {
  switch (kind) {
    case ekStringNotWritable:
    case ekEncodingNotSupported: return TDomSeverity::FatalError;
  }
  return TDomSeverity::Error;
}

class TDomError {
 public:
  TDomError(TDomErrorKind kind, std::u16string text, const TDomLocator& locator)
      : FKind(kind), FText(std::move(text)), FLocator(locator) {}
  TDomErrorKind kind() const { return FKind; }
  TDomSeverity severity() const { return severityOf(FKind); }
  // The text that could not be handled.
  const std::u16string& text() const { return FText; }
  const TDomLocator& locator() const { return FLocator; }

 private:
  TDomErrorKind FKind;
  std::u16string FText;
  TDomLocator FLocator;
};

}  // namespace brimlow
