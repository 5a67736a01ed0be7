#include "dom/domElement.h"

#include <algorithm>

#include "dom/domCharacterData.h"
#include "dom/domDocument.h"
#include "dom/domErrors.h"

namespace brimlow {

// --- TDomNamedNodeMap -----------------------------------------------------------

TDomElement* TDomNamedNodeMap::ownerElement() const {
  return const_cast<TDomElement*>(static_cast<const TDomElement*>(this));
}

TDomAttr* TDomNamedNodeMap::firstAttribute() const {
  return static_cast<TDomAttr*>(ownerElement()->nodeAt(FFirstAttribute));
}

TDomAttr* TDomNamedNodeMap::item(int index) const {
  if (index < 0) return nullptr;
  TDomAttr* attribute = firstAttribute();
  for (; attribute && index > 0; --index)
    attribute = attribute->nextAttribute();
  return attribute;
}

int TDomNamedNodeMap::indexOf(const TDomAttr* attribute) const {
  int index = 0;
  for (TDomAttr* each = firstAttribute(); each; each = each->nextAttribute(), ++index)
    if (each == attribute) return index;
  return -1;
}

TDomAttr* TDomNamedNodeMap::getNamedItem(std::u16string_view name) const {
  for (TDomAttr* each = firstAttribute(); each; each = each->nextAttribute())
    if (each->name() == name) return each;
  return nullptr;
}

void TDomNamedNodeMap::append(TDomAttr* attribute) {
  TDomElement* const element = ownerElement();
  const TDomHandle handle = TDomStore::handleOf(attribute);
  attribute->FElement = TDomStore::handleOf(element);
  attribute->FPreviousInMap = FLastAttribute;
  attribute->FNextInMap = noHandle;
  if (auto* last = static_cast<TDomAttr*>(element->nodeAt(FLastAttribute)))
    last->FNextInMap = handle;
  else
    FFirstAttribute = handle;
  FLastAttribute = handle;
  ++FCount;
}

void TDomNamedNodeMap::remove(TDomAttr* attribute) noexcept {
  TDomElement* const element = ownerElement();
  if (auto* before = static_cast<TDomAttr*>(element->nodeAt(attribute->FPreviousInMap)))
    before->FNextInMap = attribute->FNextInMap;
  else
    FFirstAttribute = attribute->FNextInMap;
  if (auto* after = static_cast<TDomAttr*>(element->nodeAt(attribute->FNextInMap)))
    after->FPreviousInMap = attribute->FPreviousInMap;
  else
    FLastAttribute = attribute->FPreviousInMap;
  attribute->FElement = attribute->FPreviousInMap = attribute->FNextInMap = noHandle;
  --FCount;
}

// --- TDomAttr -------------------------------------------------------------------

TDomAttr::TDomAttr(TDomString name, bool specified, uint8_t slots)
    : TDomNode(ntAttribute_Node, slots), FName(name) {
  setFlagBit(flagSpecified, specified);
}

TDomAttr::~TDomAttr() {
  store().freeText(FValue);
}

TDomElement* TDomAttr::ownerElement() const {
  return static_cast<TDomElement*>(nodeAt(FElement));
}

TDomNamedNodeMap* TDomAttr::ownerMap() const {
  TDomElement* element = ownerElement();
  return element ? element->attributes() : nullptr;
}

void TDomAttr::setNodeValue(std::u16string_view value) {
  checkWritable();
  replaceText(FValue, value);
  if (TDomElement* element = ownerElement()) element->reportAttributeChange(AC_MODIFICATION, this);
}

void TDomAttr::releaseOwnParts() {
  TDomElement* const element = ownerElement();
  if (!element) return;
  const bool wasReadOnly = element->readOnly();
  element->setReadOnly(false);
  static_cast<TDomNamedNodeMap*>(element)->remove(this);
  element->setReadOnly(wasReadOnly);
  element->reportAttributeChange(AC_REMOVAL, this);
}

// --- TDomElement ----------------------------------------------------------------

TDomAttr* TDomElement::getAttributeNode(std::u16string_view name) const {
  return getNamedItem(name);
}

TDomAttr* TDomElement::setAttribute(std::u16string_view name, std::u16string_view value) {
  if (readOnly()) throw ENo_Modification_Allowed_Err("No modification allowed error.");
  if (TDomAttr* existing = getAttributeNode(name)) {
    existing->setNodeValue(value);
    return nullptr;
  }
  TDomCustomDocument* const document = referenceDocument();
  TDomAttr* const attribute = document->createAttribute(name, true);
  attribute->replaceText(attribute->FValue, value);
  if (!(FFlags & flagListed)) {
    document->FAttributedElements.push_back(TDomStore::handleOf(this));
    setFlagBit(flagListed, true);
  }
  append(attribute);
  reportAttributeChange(AC_ADDITION, attribute);
  return attribute;
}

TDomElement::~TDomElement() {
  if (FFlags & flagListed) {
    std::vector<TDomHandle>& listed = ownerDocument()->FAttributedElements;
    const auto found = std::find(listed.rbegin(), listed.rend(), TDomStore::handleOf(this));
    if (found != listed.rend()) listed.erase(std::next(found).base());
  }
}

void TDomElement::reportAttributeChange(TDomAttrChange change, TDomAttr* attribute) {
  if (TDomCustomDocument* document = referenceDocument())
    document->notifyAttrModified(this, change, attribute);
}

void TDomElement::releaseOwnParts() {
  setReadOnly(false);
  while (TDomAttr* attribute = firstAttribute()) {
    remove(attribute);
    reportAttributeChange(AC_REMOVAL, attribute);
    attribute->release();
  }
}

void TDomElement::normalize() {
  TDomNode* following = nullptr;
  TDomNode* current = lastChild();
  while (current) {
    TDomNode* const preceding = current->previousSibling();
    if (current->nodeType() == ntText_Node && following && following->nodeType() == ntText_Node) {
      auto* text = static_cast<TDomText*>(current);
      auto* merged = static_cast<TDomText*>(following);
      text->appendData(merged->data());
      if (merged->flag()) text->setFlag(true);
      merged->release();
    } else if (current->nodeType() != ntText_Node) {
      current->normalize();
    }
    following = current;
    current = preceding;
  }
  for (TDomAttr* attribute = firstAttribute(); attribute; attribute = attribute->nextAttribute())
    attribute->normalize();
}

}  // namespace brimlow
