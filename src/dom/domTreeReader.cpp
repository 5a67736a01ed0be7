#include "dom/domTreeReader.h"

#include <string>

#include "dom/codecs/codecErrors.h"
#include "dom/domErrors.h"

namespace brimlow {

void TDomTreeReader::setDOMImpl(TDomImplementation* implementation) {
  if (FDOMImpl == implementation) return;
  if (FDOMImpl) removeFreeNotification(FDOMImpl);
  FDOMImpl = implementation;
  if (FDOMImpl) freeNotification(FDOMImpl);
}

void TDomTreeReader::notification(TDomComponent* component) {
  if (component == FDOMImpl) FDOMImpl = nullptr;
}

void TDomTreeReader::send(const TWriteSignal& signal) {
  if (NextHandler) NextHandler->processSignal(signal);
}

bool TDomTreeReader::parse(TDomNode* node) {
  if (!node) throw codecs::EAccessViolation("Source node not specified.");
  TDomNode* const previousNode = FCurrentNode;
  FCurrentNode = node;
  const TDomCustomDocument* const document = node->nodeType() == ntDocument_Node
                                                 ? static_cast<TDomCustomDocument*>(node)
                                                 : node->ownerDocument();
  FLocator = TDomLocator();
  FLocator.relatedNode = node;
  if (document) FLocator.uri = document->documentURI();

  bool completed = false;
  try {
    if (node->nodeType() == ntDocument_Node) {
      TStartDocumentSignal start(this, FLocator);
      start.inputEncoding = document->inputEncoding();
      start.xmlEncoding = document->xmlEncoding();
      start.standalone = document->xmlStandalone();
      start.xmlVersion = document->xmlVersion();
      send(start);
      send(TPCDATASignal(this, FLocator, u"\n", false));
    } else {
      TStartDocumentFragmentSignal start(this, FLocator);
      if (document)
        start.encodingName =
            document->xmlEncoding().empty() ? document->inputEncoding() : document->xmlEncoding();
      send(start);
    }
    sendTree(node);
    FLocator.relatedNode = node;
    send(TCompletedSignal(this, FLocator));
    completed = true;
  } catch (...) {
    // The error ends this output; the caller learns of it by the result.
  }
  if (!completed) {
    FLocator.relatedNode = node;
    try {
      send(TAbortedSignal(this, FLocator));
    } catch (...) {
      // An abort never raises: what its handling meets is dropped as well.
    }
  }
  FCurrentNode = previousNode;
  return completed;
}

bool TDomTreeReader::enter(TDomNode* node) {
  FCurrentNode = node;
  FLocator.relatedNode = node;
  switch (node->nodeType()) {
    case ntElement_Node: {
      auto* element = static_cast<TDomElement*>(node);
      send(TStartElementSignal(this, FLocator, element->tagName()));
      if (element->attributeMap().length() > 0) sendAttributes(element);
      return true;
    }
    case ntText_Node: {
      auto* text = static_cast<TDomText*>(node);
      const std::u16string_view data = text->data();
      if (!data.empty()) send(TPCDATASignal(this, FLocator, data, text->flag()));
      return false;
    }
    case ntCDATA_Section_Node: send(TCDATASignal(this, FLocator, node->nodeValue())); return false;
    case ntEntity_Reference_Node:
      send(TEntityRefSignal(this, FLocator, node->nodeName()));
      return false;
    case ntProcessing_Instruction_Node: {
      TProcessingInstructionSignal instruction(this, FLocator);
      instruction.target = node->nodeName();
      instruction.data = node->nodeValue();
      send(instruction);
      return false;
    }
    case ntComment_Node: send(TCommentSignal(this, FLocator, node->nodeValue())); return false;
    case ntDocument_Node: return true;
    case ntDocument_Type_Decl_Node: {
      auto* declaration = static_cast<TDomDocumentTypeDecl*>(node);
      TDoctypeSignal doctype(this, FLocator);
      doctype.name = declaration->name();
      doctype.publicId = declaration->publicId();
      doctype.systemId = declaration->systemId();
      doctype.internalSubset = declaration->internalSubset();
      send(doctype);
      return false;
    }
    default: throw EParserException("Internal Parser error.");
  }
}

void TDomTreeReader::sendAttributes(TDomElement* element) {
  const TDomCustomDocument* const document = element->ownerDocument();
  for (TDomAttr* attribute = element->attributeMap().firstAttribute(); attribute;
       attribute = attribute->nextAttribute()) {
    if (IgnoreUnspecified && !attribute->specified()) continue;
    TAttributeSignal signal(this, FLocator);
    signal.declaredType = document->declaredAttributeType(element->tagName(), attribute->name());
    signal.name = attribute->name();
    signal.value = attribute->value();
    send(signal);
  }
}

void TDomTreeReader::sendTree(TDomNode* root) {
  // Without recursion, so that no depth of nesting can exhaust the stack.
  TDomNode* node = root;
  for (;;) {
    if (enter(node)) {
      if (TDomNode* child = node->firstChild()) {
        node = child;
        continue;
      }
    }
    for (;;) {
      if (node->nodeType() == ntElement_Node) {
        FCurrentNode = node;
        FLocator.relatedNode = node;
        send(TEndElementSignal(this, FLocator, static_cast<TDomElement*>(node)->tagName()));
      }
      if (node == root) return;
      TDomNode* next = node->nextSibling();
      if (!next) {
        TDomNode* const parent = node->parentNode();
        if (parent == GrowingNode && OnMoreChildren) {
          OnMoreChildren();
          next = node->nextSibling();
        }
        if (!next) {
          node = parent;
          continue;
        }
      }
      node = next;
      break;
    }
  }
}

void TDomTreeReader::reportError(TDomErrorKind kind, std::u16string_view text,
                                 const TDomLocator& locator) {
  if (!ErrorReportingEnabled) return;
  const TDomError error(kind, std::u16string(text), locator);
  const bool go =
      FDOMImpl ? FDOMImpl->handleError(this, error) : error.severity() != TDomSeverity::FatalError;
  if (!go) throw EParserException("Signal Processing Exception");
}

}  // namespace brimlow
