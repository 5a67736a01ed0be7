#include "dom/domOwnership.h"

#include <exception>

#include "dom/domDocument.h"
#include "dom/domErrors.h"

namespace brimlow {

TOwnedObject* TOwnedNode::owner() const {
  if (!inStore()) return nullptr;
  return &store().document();
}

TDomStore& TOwnedNode::outerStore() const {
  // Only a document lives outside a store, and it answers this itself.
  std::terminate();
}

TOwnedNode* TOwnedNode::documentNode() const {
  return &store().document();
}

bool TOwnedNode::isSelfOrAncestorOf(const TOwnedNode* node) const {
  for (; node; node = node->parent())
    if (node == this) return true;
  return false;
}

void TOwnedNode::appendOwnedChild(TOwnedNode* child) {
  if (!child) throw ENotAssignedError();
  TOwnedObject* const childOwner = child->owner();
  if (childOwner != owner() && childOwner != this) throw EWrongOwnerError();
  // A node without children is nobody's ancestor; only itself can be in the
  // way, which spares the walk up the tree for most appends.
  if (child->first() ? child->isSelfOrAncestorOf(this) : child == this)
    throw EHierarchyRequestError();
  if (readOnly()) throw ENoModificationAllowedError();
  TOwnedNode* const oldParent = child->parent();
  if (oldParent && oldParent->readOnly()) throw ENoModificationAllowedError();
  TChildLinks* const links = childLinks();
  if (!links) throw EHierarchyRequestError();  // a kind without children

  if (oldParent) child->unlinkFromParent();
  const TDomHandle childHandle = child->handle();
  child->FPreviousSibling = links->last;
  // The last child so far is never the document, which is nobody's child.
  if (links->last != noHandle)
    static_cast<TOwnedNode*>(store().address(links->last))->FNextSibling = childHandle;
  else
    links->first = childHandle;
  links->last = childHandle;
  child->FParent = handle();
}

void TOwnedNode::unlinkFromParent() noexcept {
  TOwnedNode* const parentNode = parent();
  if (!parentNode) return;
  TChildLinks* const links = parentNode->childLinks();
  if (TOwnedNode* before = previous())
    before->FNextSibling = FNextSibling;
  else
    links->first = FNextSibling;
  if (TOwnedNode* after = next())
    after->FPreviousSibling = FPreviousSibling;
  else
    links->last = FPreviousSibling;
  FParent = noHandle;
  FNextSibling = noHandle;
  FPreviousSibling = noHandle;
}

}  // namespace brimlow
