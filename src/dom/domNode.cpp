#include "dom/domNode.h"

#include <exception>
#include <string>

#include "dom/domDocument.h"
#include "dom/domErrors.h"

namespace brimlow {

// --- TDomNodeList -------------------------------------------------------------

int TDomNodeList::length() const {
  if (FDocuments) return static_cast<int>(FDocuments->size());
  int count = 0;
  for (TDomNode* child = FNode->firstChild(); child; child = child->nextSibling())
    ++count;
  return count;
}

TDomNode* TDomNodeList::item(int index) const {
  if (index < 0) return nullptr;
  if (FDocuments)
    return static_cast<size_t>(index) < FDocuments->size() ? (*FDocuments)[index] : nullptr;
  TDomNode* child = FNode->firstChild();
  for (; child && index > 0; --index)
    child = child->nextSibling();
  return child;
}

int TDomNodeList::indexOf(const TDomNode* node) const {
  int index = 0;
  if (FDocuments) {
    for (const TDomCustomDocument* document : *FDocuments) {
      if (document == node) return index;
      ++index;
    }
    return -1;
  }
  for (TDomNode* child = FNode->firstChild(); child; child = child->nextSibling(), ++index)
    if (child == node) return index;
  return -1;
}

// --- TDomCustomNode -----------------------------------------------------------

void TDomCustomNode::rethrowAsDomError() {
  try {
    throw;
  } catch (const EHierarchyRequestError&) {
    throw EHierarchy_Request_Err("EHierarchy request error.");
  } catch (const ENoModificationAllowedError&) {
    throw ENo_Modification_Allowed_Err("No modification allowed.");
  } catch (const ENotAssignedError&) {
    throw ENot_Supported_Err("Node not specified.");
  } catch (const ENotFoundError&) {
    throw ENot_Found_Err("Node not found.");
  } catch (const EWrongOwnerError&) {
    throw EWrong_Document_Err("Wrong document.");
  }
}

// --- TDomNode -----------------------------------------------------------------

TDomCustomDocument* TDomNode::ownerDocument() const {
  return inStore() ? &store().document() : nullptr;
}

std::u16string_view TDomNode::nodeValue() const {
  TDomString* slot = const_cast<TDomNode*>(this)->valueSlot();
  return slot ? textOf(*slot) : std::u16string_view();
}

void TDomNode::setNodeValue(std::u16string_view value) {
  checkWritable();
  if (TDomString* slot = valueSlot()) replaceText(*slot, value);
}

void TDomNode::replaceText(TDomString& slot, std::u16string_view value) {
  TDomStore& texts = store();
  const TDomString old = slot;
  slot = texts.storeValue(value);
  texts.freeText(old);
}

void TDomNode::checkWritable() const {
  if (readOnly()) throw ENo_Modification_Allowed_Err("No modification allowed error.");
}

void TDomNode::refuseChildType(const TDomNode* child) const {
  throw EHierarchy_Request_Err(std::string("Nodes of type ") + child->className() +
                               " are not allowed as children of nodes of type " + className());
}

TDomNode* TDomNode::appendChild(TDomNode* child) {
  if (child && child->nodeType() == ntDocument_Fragment_Node) return appendFragment(child);
  if (child) checkChildType(child);
  appendOne(child);
  return child;
}

TDomNode* TDomNode::appendFragment(TDomNode* fragment) {
  for (TDomNode* child = fragment->firstChild(); child; child = child->nextSibling())
    checkChildType(child);
  if (fragment->owner() != owner() && fragment->owner() != this)
    throw EWrong_Document_Err("Wrong document.");
  // A fragment put into itself or into one of its own children would take
  // its first child and append it to itself for ever.
  for (const TDomNode* above = this; above; above = above->parentNode())
    if (above == fragment) throw EHierarchy_Request_Err("EHierarchy request error.");
  while (TDomNode* child = fragment->firstChild())
    appendOne(child);
  return fragment;
}

void TDomNode::appendOne(TDomNode* child) {
  try {
    appendOwnedChild(child);
  } catch (const EListError&) {
    rethrowAsDomError();
  }
  if (TDomCustomDocument* document = referenceDocument()) document->notifyNodeInserted(child);
}

TDomNode* TDomNode::findFirstChildElement() const {
  for (TDomNode* child = firstChild(); child; child = child->nextSibling())
    if (child->nodeType() == ntElement_Node) return child;
  return nullptr;
}

void TDomNode::normalize() {
  normalizeChildren();
}

void TDomNode::normalizeChildren() {
  for (TDomNode* child = firstChild(); child; child = child->nextSibling())
    child->normalize();
}

void TDomNode::release() {
  if (!inStore()) {
    delete static_cast<TDomCustomDocument*>(this);
    return;
  }
  // The subtree goes without recursion, so that no depth of nesting can
  // exhaust the stack, and without unlinking each node from the others that
  // go with it: each node lets go of its own parts when first reached, on the
  // way down to the last of its children; it goes itself after its children,
  // which are reached last to first.
  releaseOwnParts();
  unlinkFromParent();
  // Every node below lies in this node's store.
  const TDomStore& room = store();
  const auto nodeAt = [&room](TDomHandle handle) {
    return static_cast<TDomNode*>(room.address(handle));
  };
  TDomNode* node = lastDescendantReleasingParts(this);
  for (;;) {
    const TDomHandle before = node->FPreviousSibling;
    const TDomHandle parentOfNode = node->FParent;
    const bool done = node == this;
    node->destroy();
    if (done) return;
    node = before != noHandle ? lastDescendantReleasingParts(nodeAt(before)) : nodeAt(parentOfNode);
  }
}

TDomNode* TDomNode::lastDescendantReleasingParts(TDomNode* node) {
  node->releaseOwnParts();
  while (TDomNode* child = node->lastChild()) {
    node = child;
    node->releaseOwnParts();
  }
  return node;
}

void TDomNode::destroy() noexcept {
  TDomStore& room = store();
  const size_t bytes = size_t{FSlots} * 8;
  this->~TDomNode();
  room.deallocateNode(this, bytes);
}

}  // namespace brimlow
