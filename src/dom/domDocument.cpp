#include "dom/domDocument.h"

#include <algorithm>
#include <new>

#include "dom/domErrors.h"
#include "dom/domNames.h"

namespace brimlow {

namespace {

template <class Event, class... Arguments>
void fire(const Event& documentEvent, const Event& implementationEvent, Arguments... arguments) {
  if (documentEvent) {
    try {
      documentEvent(arguments...);
    } catch (...) {
      if (implementationEvent) implementationEvent(arguments...);
      throw;
    }
  }
  if (implementationEvent) implementationEvent(arguments...);
}

}  // namespace

// --- TDomCustomDocument -----------------------------------------------------------

TDomCustomDocument::TDomCustomDocument(TDomImplementation* implementation)
    : TDomNode(ntDocument_Node, 0), FImplementation(implementation) {
  if (FImplementation) FImplementation->FDocuments.push_back(this);
}

TDomCustomDocument::~TDomCustomDocument() {
  // The nodes themselves hold nothing outside the store, so they go with its
  // blocks; only the attribute removals are told, where someone listens.
  try {
    reportRemainingAttributes();
  } catch (...) {
    // A listener that fails cannot stop the document from going.
  }
  if (FImplementation) std::erase(FImplementation->FDocuments, this);
}

void TDomCustomDocument::reportRemainingAttributes() {
  const bool listened =
      events.OnAttrModified || (FImplementation && FImplementation->OnAttrModified);
  if (!listened) return;
  for (auto each = FAttributedElements.rbegin(); each != FAttributedElements.rend(); ++each) {
    // A freed element leaves this list, so every handle here is a live one.
    static_cast<TDomElement*>(static_cast<TDomNode*>(FStore.address(*each)))->releaseOwnParts();
  }
}

template <class Node, class... Arguments>
Node* TDomCustomDocument::make(Arguments&&... arguments) {
  static_assert(sizeof(Node) % 8 == 0 && sizeof(Node) <= TDomStore::maxNodeBytes);
  void* room = FStore.allocateNode(sizeof(Node));
  return ::new (room) Node(std::forward<Arguments>(arguments)..., uint8_t{sizeof(Node) / 8});
}

TDomString TDomCustomDocument::checkedName(std::u16string_view name) {
  // A name met before was checked then; the shared copy saves the check and
  // the room for every later node of that name.
  if (const TDomString* recent = FStore.recentShared(TDomStore::TSharedKind::Name, name))
    return *recent;
  if (!isXmlName(name)) throw EInvalid_Character_Err("Invalid character error.");
  bool isNew = false;
  const TDomString stored = FStore.sharedText(name, isNew);
  FStore.rememberShared(TDomStore::TSharedKind::Name, name, stored);
  return stored;
}

TDomElement* TDomCustomDocument::createElement(std::u16string_view tagName) {
  return make<TDomElement>(checkedName(tagName));
}

TDomAttr* TDomCustomDocument::createAttribute(std::u16string_view name, bool specified) {
  return make<TDomAttr>(checkedName(name), specified);
}

TDomText* TDomCustomDocument::createTextNode(std::u16string_view data) {
  const TDomString stored = FStore.storeValue(data);
  TDomText* text = make<TDomText>();
  text->FData = stored;
  return text;
}

TDomCDATASection* TDomCustomDocument::createCDATASection(std::u16string_view data) {
  const TDomString stored = FStore.storeText(data);
  TDomCDATASection* section = make<TDomCDATASection>();
  section->FData = stored;
  return section;
}

TDomComment* TDomCustomDocument::createComment(std::u16string_view data) {
  const TDomString stored = FStore.storeText(data);
  TDomComment* comment = make<TDomComment>();
  comment->FData = stored;
  return comment;
}

TDomProcessingInstruction* TDomCustomDocument::createProcessingInstruction(
    std::u16string_view target, std::u16string_view data) {
  TDomProcessingInstruction* instruction =
      make<TDomProcessingInstruction>(FStore.storeText(target));
  instruction->FData = FStore.storeText(data);
  return instruction;
}

TDomEntityReference* TDomCustomDocument::createEntityReference(std::u16string_view name) {
  return make<TDomEntityReference>(FStore.storeText(name));
}

TDomDocumentFragment* TDomCustomDocument::createDocumentFragment() {
  return make<TDomDocumentFragment>();
}

TDomDocumentTypeDecl* TDomCustomDocument::createDocumentTypeDecl(
    std::u16string_view name, std::u16string_view publicId, std::u16string_view systemId,
    std::u16string_view internalSubset) {
  return make<TDomDocumentTypeDecl>(FStore.storeText(name), FStore.storeText(publicId),
                                    FStore.storeText(systemId), FStore.storeText(internalSubset));
}

void TDomCustomDocument::checkDocumentChild(const TDomNode* child, bool& hasElement,
                                            bool& hasDoctype) const {
  if (child->nodeType() == ntElement_Node) {
    if (hasElement) throw EHierarchy_Request_Err("Hierarchy request error.");
    hasElement = true;
  } else if (child->nodeType() == ntDocument_Type_Decl_Node) {
    if (hasElement || hasDoctype) throw EHierarchy_Request_Err("Hierarchy request error.");
    hasDoctype = true;
  }
}

TDomNode* TDomCustomDocument::appendChild(TDomNode* child) {
  if (!child) throw ENot_Supported_Err("Not supported error.");
  bool hasElement = false;
  bool hasDoctype = false;
  for (TDomNode* each = firstChild(); each; each = each->nextSibling()) {
    hasElement = hasElement || each->nodeType() == ntElement_Node;
    hasDoctype = hasDoctype || each->nodeType() == ntDocument_Type_Decl_Node;
  }
  if (child->nodeType() == ntDocument_Fragment_Node) {
    // A fragment's children are held to the same rule, so that no fragment
    // can bring a second element into the document.
    for (TDomNode* each = child->firstChild(); each; each = each->nextSibling())
      checkDocumentChild(each, hasElement, hasDoctype);
  } else {
    checkDocumentChild(child, hasElement, hasDoctype);
  }
  return TDomNode::appendChild(child);
}

TDomAttrDeclaredType TDomCustomDocument::declaredAttributeType(std::u16string_view,
                                                               std::u16string_view) const {
  return TDomAttrDeclaredType::None;
}

void TDomCustomDocument::notifyNodeInserted(TDomNode* node) {
  FModified = true;
  if (!events.OnNodeInserted && !(FImplementation && FImplementation->OnNodeInserted)) return;
  static const TDomNodeEvent none;
  fire(events.OnNodeInserted, FImplementation ? FImplementation->OnNodeInserted : none, node);
}

void TDomCustomDocument::notifyAttrModified(TDomElement* element, TDomAttrChange change,
                                            TDomAttr* attribute) {
  FModified = true;
  static const TDomAttrModifiedEvent none;
  fire(events.OnAttrModified, FImplementation ? FImplementation->OnAttrModified : none, element,
       change, attribute);
}

void TDomCustomDocument::notifyCharacterDataModified(TDomNode* node) {
  FModified = true;
  static const TDomNodeEvent none;
  fire(events.OnCharacterDataModified,
       FImplementation ? FImplementation->OnCharacterDataModified : none, node);
}

// --- TDomImplementation -----------------------------------------------------------

TDomImplementation::~TDomImplementation() {
  while (!FDocuments.empty()) {
    TDomCustomDocument* document = FDocuments.back();
    FDocuments.pop_back();
    document->FImplementation = nullptr;
    delete document;
  }
}

bool TDomImplementation::handleError(TDomComponent* sender, const TDomError& error) {
  bool go = error.severity() != TDomSeverity::FatalError;
  if (OnError && FErrorEventsSuspended == 0) OnError(sender, error, go);
  return go;
}

}  // namespace brimlow
