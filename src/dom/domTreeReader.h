#pragma once

// The tree reader: walks a node and its subtree and sends one signal per
// piece to its next handler.

#include <functional>

#include "dom/domDocument.h"
#include "dom/domSignals.h"

namespace brimlow {

class TDomTreeReader final : public TCustomTreeReader {
 public:
  explicit TDomTreeReader(TDomComponent* owner) : TCustomTreeReader(owner) {}

  TDomImplementation* DOMImpl() const { return FDOMImpl; }
  // Dropped again when the implementation is freed.
  void setDOMImpl(TDomImplementation* implementation);
  bool ErrorReportingEnabled = true;
  // Send only attributes whose specified flag is set.
  bool IgnoreUnspecified = true;
  TCustomSignalHandler* NextHandler = nullptr;
  // A node whose children are appended while it is being sent, so that a
  // caller can hand over a large tree in parts: once its last child so far
  // has been sent, OnMoreChildren is called, and the children appended
  // meanwhile are sent next.  It may release children already sent, but
  // never the one just sent.
  TDomNode* GrowingNode = nullptr;
  std::function<void()> OnMoreChildren;

  // Sends the start of the document (or fragment), the node and the end.
  // True when everything went out; false when an error stopped it, which is
  // not passed on.  Fails with EAccessViolation "Source node not specified."
  // without a node.
  bool parse(TDomNode* node);
  // The node whose signals are being sent; none between walks.
  TDomNode* currentNode() const { return FCurrentNode; }

  void reportError(TDomErrorKind kind, std::u16string_view text,
                   const TDomLocator& locator) override;

 protected:
  void notification(TDomComponent* component) override;

 private:
  void send(const TWriteSignal& signal);
  void sendTree(TDomNode* root);
  // The pieces before a node's children; true when its children follow.
  bool enter(TDomNode* node);
  void sendAttributes(TDomElement* element);

  TDomImplementation* FDOMImpl = nullptr;
  TDomNode* FCurrentNode = nullptr;
  TDomLocator FLocator;
};

}  // namespace brimlow
