#pragma once

// The ownership layer beneath the document tree.  Every node is owned by the
// document that created it and lives in that document's store; the links
// between nodes (parent, siblings, children) are handles into the store.
// Linking checks owners, cycles and read-only flags and fails with the layer's
// own errors (EListError descendants), which the tree translates for its
// callers.

#include <cstdint>

#include "dom/domStore.h"

namespace brimlow {

class TOwnedObject {
 public:
  virtual ~TOwnedObject() = default;
  TOwnedObject(const TOwnedObject&) = delete;
  TOwnedObject& operator=(const TOwnedObject&) = delete;

 protected:
  TOwnedObject() = default;
};

class TOwnedNode : public TOwnedObject {
 public:
  // The object that owns this node: the document it was created for; none
  // for a document.
  TOwnedObject* owner() const;
  bool readOnly() const { return (FFlags & flagReadOnly) != 0; }

 protected:
  struct TChildLinks {
    TDomHandle first = noHandle;
    TDomHandle last = noHandle;
  };

  // `slots` is the node's size in the store in units of 8 bytes, 0 for a
  // document, which lives outside.
  TOwnedNode(uint8_t type, uint8_t slots) : FNodeType(type), FSlots(slots) {}
  ~TOwnedNode() override = default;

  // Where the children are kept; none for a kind that never has any.
  virtual TChildLinks* childLinks() { return nullptr; }
  const TChildLinks* childLinks() const { return const_cast<TOwnedNode*>(this)->childLinks(); }
  // The store of a document; only a document answers this.
  virtual TDomStore& outerStore() const;

  bool inStore() const { return FSlots != 0; }
  TDomStore& store() const { return inStore() ? TDomStore::of(this) : outerStore(); }
  TDomHandle handle() const { return inStore() ? TDomStore::handleOf(this) : documentHandle; }
  TOwnedNode* nodeAt(TDomHandle handle) const {
    if (handle == noHandle) return nullptr;
    if (handle == documentHandle) return documentNode();
    if (inStore()) {
      if (void* near = TDomStore::addressNear(this, handle)) return static_cast<TOwnedNode*>(near);
    }
    return static_cast<TOwnedNode*>(store().address(handle));
  }
  TOwnedNode* parent() const { return nodeAt(FParent); }
  TOwnedNode* first() const {
    const TChildLinks* links = childLinks();
    return links ? nodeAt(links->first) : nullptr;
  }
  TOwnedNode* last() const {
    const TChildLinks* links = childLinks();
    return links ? nodeAt(links->last) : nullptr;
  }
  TOwnedNode* next() const { return nodeAt(FNextSibling); }
  TOwnedNode* previous() const { return nodeAt(FPreviousSibling); }

  // Appends `child` as the last child, after unlinking it from its old parent.
  // Fails, before changing anything, with ENotAssignedError (no child),
  // EWrongOwnerError (another owner), EHierarchyRequestError (this node or
  // one of its ancestors) or ENoModificationAllowedError (this node or the
  // child's old parent read-only).
  void appendOwnedChild(TOwnedNode* child);
  // Takes this node out of its parent's children, joining its siblings; no
  // checks, no notification.
  void unlinkFromParent() noexcept;
  bool isSelfOrAncestorOf(const TOwnedNode* node) const;

  enum : uint8_t {
    flagReadOnly = 1,
    flagText = 2,
    flagNamespace = 4,
    flagSpecified = 8,
    flagListed = 16,  // an element in its document's list of attributed elements
  };
  void setFlagBit(uint8_t flag, bool on) {
    FFlags = static_cast<uint8_t>(on ? FFlags | flag : FFlags & ~flag);
  }

  TDomHandle FParent = noHandle;
  TDomHandle FNextSibling = noHandle;
  TDomHandle FPreviousSibling = noHandle;
  uint8_t FNodeType;
  uint8_t FFlags = 0;
  uint8_t FSlots;
  uint8_t FSpare = 0;

 private:
  TOwnedNode* documentNode() const;
};

}  // namespace brimlow
