#pragma once

// The node of the document tree.  Every name and value is UTF-16; nodes are
// created by their document (createElement and the like), live in its store
// and are freed with release() or with their document.

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "dom/domOwnership.h"

namespace brimlow {

class TDomCustomDocument;
class TDomNamedNodeMap;
class TDomNode;

// Kind codes; the document is 8 and there are no entity or notation kinds.
enum TDomNodeType : uint8_t {
  ntUnknown = 0,
  ntElement_Node = 1,
  ntAttribute_Node = 2,
  ntText_Node = 3,
  ntCDATA_Section_Node = 4,
  ntEntity_Reference_Node = 5,
  ntProcessing_Instruction_Node = 6,
  ntComment_Node = 7,
  ntDocument_Node = 8,
  ntDocument_Fragment_Node = 9,
  ntDocument_Type_Decl_Node = 10,
  ntXPath_Namespace_Node = 11,
};

// A set of kind codes, one bit each; codes above 15 are never members.
using TDomNodeTypeSet = uint16_t;
constexpr TDomNodeTypeSet nodeTypeSet(std::initializer_list<TDomNodeType> types) {
  TDomNodeTypeSet set = 0;
  for (auto type : types)
    set = static_cast<TDomNodeTypeSet>(set | (1u << type));
  return set;
}

// The child kinds every node accepts unless its class says otherwise.
constexpr TDomNodeTypeSet defaultChildTypes =
    nodeTypeSet({ntElement_Node, ntText_Node, ntCDATA_Section_Node, ntEntity_Reference_Node,
                 ntProcessing_Instruction_Node, ntComment_Node, ntDocument_Fragment_Node,
                 ntDocument_Type_Decl_Node});
constexpr TDomNodeTypeSet elementChildTypes =
    nodeTypeSet({ntElement_Node, ntText_Node, ntCDATA_Section_Node, ntEntity_Reference_Node,
                 ntProcessing_Instruction_Node, ntComment_Node, ntDocument_Fragment_Node});
constexpr TDomNodeTypeSet documentChildTypes =
    nodeTypeSet({ntElement_Node, ntProcessing_Instruction_Node, ntComment_Node,
                 ntDocument_Fragment_Node, ntDocument_Type_Decl_Node});

// The children of a node in order, or the documents of an implementation.
class TDomNodeList {
 public:
  explicit TDomNodeList(const TDomNode* node) : FNode(node) {}
  explicit TDomNodeList(const std::vector<TDomCustomDocument*>* documents)
      : FDocuments(documents) {}
  int length() const;
  // The entry at `index` counted from 0; none outside 0 to length - 1.
  TDomNode* item(int index) const;
  // The position of `node` in the list; -1 when it is not in it.
  int indexOf(const TDomNode* node) const;

 private:
  const TDomNode* FNode = nullptr;
  const std::vector<TDomCustomDocument*>* FDocuments = nullptr;
};

// Translates the ownership layer's errors into the document tree's.
class TDomCustomNode : public TOwnedNode {
 protected:
  using TOwnedNode::TOwnedNode;
  // Inside a catch block: rethrows the current error, an ownership-layer one
  // as the document tree's error of the same meaning.
  [[noreturn]] static void rethrowAsDomError();
};

class TDomNode : public TDomCustomNode {
 public:
  virtual std::u16string_view nodeName() const { return {}; }
  // The class name the hierarchy messages show.
  virtual const char* className() const { return "TDomNode"; }
  TDomNodeType nodeType() const { return static_cast<TDomNodeType>(FNodeType); }
  // The child kinds this node accepts, fixed by its class.
  TDomNodeTypeSet allowedChildTypes() const {
    switch (nodeType()) {
      case ntElement_Node: return elementChildTypes;
      case ntDocument_Node: return documentChildTypes;
      case ntAttribute_Node:
      case ntText_Node:
      case ntCDATA_Section_Node:
      case ntComment_Node: return 0;
      default: return defaultChildTypes;
    }
  }
  bool acceptsChildType(unsigned type) const {
    return type <= 15 && ((allowedChildTypes() >> type) & 1u);
  }

  virtual TDomNamedNodeMap* attributes() { return nullptr; }
  TDomNodeList childNodes() const { return TDomNodeList(this); }
  // The document that created this node; none for a document.
  TDomCustomDocument* ownerDocument() const;
  TDomNode* firstChild() const { return static_cast<TDomNode*>(first()); }
  TDomNode* lastChild() const { return static_cast<TDomNode*>(last()); }
  TDomNode* nextSibling() const { return static_cast<TDomNode*>(next()); }
  TDomNode* previousSibling() const { return static_cast<TDomNode*>(previous()); }
  TDomNode* parentNode() const { return static_cast<TDomNode*>(parent()); }
  // The document this node reports its changes to.
  virtual TDomCustomDocument* referenceDocument() const { return ownerDocument(); }

  virtual std::u16string_view nodeValue() const;
  // Read-only check, then the value is stored.
  virtual void setNodeValue(std::u16string_view value);

  virtual TDomNode* appendChild(TDomNode* child);
  // The first child that is an element, or none.
  TDomNode* findFirstChildElement() const;
  // Joins adjacent text nodes throughout the subtree.
  virtual void normalize();

  bool isNamespaceNode() const { return (FFlags & flagNamespace) != 0; }
  // Nothing on the writing path sets this; the rest of the library does.
  void setReadOnly(bool readOnly) { setFlagBit(flagReadOnly, readOnly); }

  // Frees this node: an element's attributes first, then the node leaves its
  // parent and its remaining children are freed, the last first.  A document
  // is deleted with everything created for it.  The node must not be used
  // afterwards.
  void release();

 protected:
  TDomNode(TDomNodeType type, uint8_t slots) : TDomCustomNode(type, slots) {}
  ~TDomNode() override = default;

  // Where the node value is kept; none where the class has none.
  virtual TDomString* valueSlot() { return nullptr; }
  // What an element does before it is freed: let go of its attributes.
  virtual void releaseOwnParts() {}
  // Lets go of the own parts of `node` and of its last child, that child's
  // last child and so on; the last of them.
  static TDomNode* lastDescendantReleasingParts(TDomNode* node);
  std::u16string_view textOf(TDomString text) const { return store().text(text); }
  // Stores `value` in `slot` and frees what the slot held.
  void replaceText(TDomString& slot, std::u16string_view value);

  // Fails with ENo_Modification_Allowed_Err "No modification allowed error."
  // when this node is read-only.
  void checkWritable() const;
  // Fails with EHierarchy_Request_Err when this node does not accept the
  // kind of `child`.
  void checkChildType(const TDomNode* child) const {
    if (!acceptsChildType(child->nodeType())) refuseChildType(child);
  }
  [[noreturn]] void refuseChildType(const TDomNode* child) const;
  // Appends one node that is not a fragment: the checks and linking of the
  // ownership layer, then the insertion notice.
  void appendOne(TDomNode* child);
  // Moves the children of a fragment to the end of this node.
  TDomNode* appendFragment(TDomNode* fragment);
  // Every child normalised, first to last.
  void normalizeChildren();

 private:
  // Destroys this node and gives its room back to the store.
  void destroy() noexcept;
};

}  // namespace brimlow
