#pragma once

// Elements and their attributes.  An attribute's value is its literal value:
// the text as it stands between the quotes in markup, references unexpanded.

#include "dom/domNode.h"

namespace brimlow {

class TDomAttr;
class TDomElement;

enum TDomAttrChange : uint8_t { AC_MODIFICATION, AC_ADDITION, AC_REMOVAL };

// The ordered attributes of one element.  The map is part of its element
// (a base of it), so that an element needs no room for a separate map.
class TDomNamedNodeMap {
 public:
  int length() const { return static_cast<int>(FCount); }
  // The attribute at `index` counted from 0; none outside 0 to length - 1.
  TDomAttr* item(int index) const;
  int indexOf(const TDomAttr* attribute) const;
  // The attribute whose name equals `name` exactly, or none.
  TDomAttr* getNamedItem(std::u16string_view name) const;
  TDomElement* ownerElement() const;
  TDomAttr* firstAttribute() const;

 private:
  TDomNamedNodeMap() = default;
  void append(TDomAttr* attribute);
  void remove(TDomAttr* attribute) noexcept;

  TDomHandle FFirstAttribute = noHandle;
  TDomHandle FLastAttribute = noHandle;
  uint32_t FCount = 0;
  friend class TDomElement;
  friend class TDomAttr;
};

// What the document's type definition declares an attribute to be; a
// document built in memory declares nothing.
enum class TDomAttrDeclaredType : uint8_t {
  None,
  CData,
  ID,
  IDRef,
  IDRefs,
  Entity,
  Entities,
  NMToken,
  NMTokens,
  Notation,
  Enumeration,
};

class TDomAttr final : public TDomNode {
 public:
  std::u16string_view nodeName() const override { return textOf(FName); }
  const char* className() const override { return "TDomAttr"; }
  std::u16string_view name() const { return textOf(FName); }
  std::u16string_view value() const { return textOf(FValue); }
  std::u16string_view nodeValue() const override { return textOf(FValue); }
  // Read-only check, store, then AC_MODIFICATION through its element.
  void setNodeValue(std::u16string_view value) override;
  bool specified() const { return (FFlags & flagSpecified) != 0; }
  // The element whose map holds the attribute; none while detached.
  TDomElement* ownerElement() const;
  TDomNamedNodeMap* ownerMap() const;
  // The next attribute of the same map, or none.
  TDomAttr* nextAttribute() const { return static_cast<TDomAttr*>(nodeAt(FNextInMap)); }
  std::u16string_view prefix() const { return {}; }
  std::u16string_view localName() const { return {}; }
  std::u16string_view namespaceURI() const { return {}; }

 private:
  TDomAttr(TDomString name, bool specified, uint8_t slots);
  ~TDomAttr() override;
  TDomString* valueSlot() override { return &FValue; }
  // Leaves the element's map, lifting the element's read-only flag for that.
  void releaseOwnParts() override;

  TDomString FName;
  TDomString FValue;
  TDomHandle FElement = noHandle;
  TDomHandle FPreviousInMap = noHandle;
  TDomHandle FNextInMap = noHandle;
  friend class TDomCustomDocument;
  friend class TDomNamedNodeMap;
  friend class TDomElement;
};

class TDomElement final : public TDomNode, private TDomNamedNodeMap {
 public:
  std::u16string_view nodeName() const override { return textOf(FTagName); }
  const char* className() const override { return "TDomElement"; }
  std::u16string_view tagName() const { return textOf(FTagName); }
  TDomNamedNodeMap* attributes() override { return this; }
  const TDomNamedNodeMap& attributeMap() const { return *this; }
  // An element has no value: reading gives empty text, writing is ignored.
  std::u16string_view nodeValue() const override { return {}; }
  void setNodeValue(std::u16string_view) override {}

  // The attribute whose name equals `name` exactly (case-sensitive), or none.
  TDomAttr* getAttributeNode(std::u16string_view name) const;
  // Updates an existing attribute in its place and returns none, or appends a
  // new one and returns it.  The value is stored as the literal value.
  TDomAttr* setAttribute(std::u16string_view name, std::u16string_view value);
  // Runs of adjacent text children become their first node; then every other
  // child is normalised.
  void normalize() override;

  std::u16string_view prefix() const { return {}; }
  std::u16string_view localName() const { return {}; }
  std::u16string_view namespaceURI() const { return {}; }

 private:
  TDomElement(TDomString tagName, uint8_t slots)
      : TDomNode(ntElement_Node, slots), FTagName(tagName) {}
  ~TDomElement() override;
  TChildLinks* childLinks() override { return &FChildren; }
  // Lifts the read-only flag, then removes and frees every attribute, always
  // the first remaining, each removal reported.
  void releaseOwnParts() override;
  void reportAttributeChange(TDomAttrChange change, TDomAttr* attribute);

  TChildLinks FChildren;
  TDomString FTagName;
  friend class TDomCustomDocument;
  friend class TDomNamedNodeMap;
  friend class TDomAttr;
};

}  // namespace brimlow
