#pragma once

// Documents and the implementation that creates and registers them.  A
// document owns every node created for it, linked into its tree or not, and
// frees them all when it is freed; the implementation frees the documents
// still registered with it.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dom/domCharacterData.h"
#include "dom/domComponent.h"
#include "dom/domElement.h"
#include "dom/domLocator.h"
#include "dom/domNode.h"
#include "dom/domOtherNodes.h"
#include "dom/domStore.h"

namespace brimlow {

class TDomImplementation;

using TDomNodeEvent = std::function<void(TDomNode* node)>;
using TDomAttrModifiedEvent =
    std::function<void(TDomElement* element, TDomAttrChange change, TDomAttr* attribute)>;
// Called with the component that reports, the error and whether to go on,
// which the handler may change.
using TDomErrorEvent = std::function<void(TDomComponent* sender, const TDomError& error, bool& go)>;

// The change events a document fires itself before its implementation's.
struct TDomChangeEvents {
  TDomNodeEvent OnNodeInserted;
  TDomAttrModifiedEvent OnAttrModified;
  TDomNodeEvent OnCharacterDataModified;
};

class TDomCustomDocument : public TDomNode {
 public:
  // Registers the document with `implementation` (when one is given).
  explicit TDomCustomDocument(TDomImplementation* implementation);
  // Frees every node created for the document and leaves the
  // implementation's document list.
  ~TDomCustomDocument() override;

  std::u16string_view nodeName() const override { return u"#document"; }
  const char* className() const override { return "TDomCustomDocument"; }
  TDomCustomDocument* referenceDocument() const override {
    return const_cast<TDomCustomDocument*>(this);
  }
  std::u16string_view nodeValue() const override { return {}; }
  void setNodeValue(std::u16string_view) override {}
  // At most one element and one type declaration, the declaration before the
  // element; then as for any node.
  TDomNode* appendChild(TDomNode* child) override;
  TDomElement* documentElement() const {
    return static_cast<TDomElement*>(findFirstChildElement());
  }

  // Node creation.  Names are checked against the XML Name production first:
  // EInvalid_Character_Err "Invalid character error." and nothing is made.
  TDomElement* createElement(std::u16string_view tagName);
  TDomText* createTextNode(std::u16string_view data);
  TDomCDATASection* createCDATASection(std::u16string_view data);
  TDomComment* createComment(std::u16string_view data);
  TDomProcessingInstruction* createProcessingInstruction(std::u16string_view target,
                                                         std::u16string_view data);
  TDomEntityReference* createEntityReference(std::u16string_view name);
  TDomDocumentFragment* createDocumentFragment();
  TDomDocumentTypeDecl* createDocumentTypeDecl(std::u16string_view name,
                                               std::u16string_view publicId,
                                               std::u16string_view systemId,
                                               std::u16string_view internalSubset);
  // An attribute for this document, detached; setAttribute makes these.
  TDomAttr* createAttribute(std::u16string_view name, bool specified);

  TDomImplementation* domImplementation() const { return FImplementation; }
  bool modified() const { return FModified; }
  void setModified(bool modified) { FModified = modified; }

  // The XML declaration's properties; empty, empty and 2 (unspecified) for a
  // document built in memory.
  const std::u16string& inputEncoding() const { return FInputEncoding; }
  void setInputEncoding(std::u16string_view value) { FInputEncoding = value; }
  const std::u16string& documentURI() const { return FDocumentURI; }
  void setDocumentURI(std::u16string_view value) { FDocumentURI = value; }
  const std::u16string& xmlEncoding() const { return FXmlEncoding; }
  void setXmlEncoding(std::u16string_view value) { FXmlEncoding = value; }
  // 0 yes, 1 no, 2 unspecified.
  uint8_t xmlStandalone() const { return FXmlStandalone; }
  void setXmlStandalone(uint8_t value) { FXmlStandalone = value; }
  const std::u16string& xmlVersion() const { return FXmlVersion; }
  void setXmlVersion(std::u16string_view value) { FXmlVersion = value; }

  // What the document's type definition declares the attribute to be.
  virtual TDomAttrDeclaredType declaredAttributeType(std::u16string_view elementName,
                                                     std::u16string_view attributeName) const;

  // Change reports: the modified flag is set, the document's own event fires,
  // then the implementation's, also when the document's own failed.
  TDomChangeEvents events;
  void notifyNodeInserted(TDomNode* node);
  void notifyAttrModified(TDomElement* element, TDomAttrChange change, TDomAttr* attribute);
  void notifyCharacterDataModified(TDomNode* node);

 protected:
  TChildLinks* childLinks() override { return &FChildren; }
  TDomStore& outerStore() const override { return FStore; }

 private:
  template <class Node, class... Arguments>
  Node* make(Arguments&&... arguments);
  // The shared copy of a checked name.
  TDomString checkedName(std::u16string_view name);
  void checkDocumentChild(const TDomNode* child, bool& hasElement, bool& hasDoctype) const;
  // Reports the removal of the attributes still held when the document goes.
  void reportRemainingAttributes();

  TChildLinks FChildren;
  mutable TDomStore FStore{*this};
  TDomImplementation* FImplementation;
  std::u16string FInputEncoding;
  bool FModified = false;
  std::u16string FDocumentURI;
  std::u16string FXmlEncoding;
  uint8_t FXmlStandalone = 2;
  std::u16string FXmlVersion;
  // Elements that got attributes, so that freeing the document can report
  // their removal without visiting every node.
  std::vector<TDomHandle> FAttributedElements;
  friend class TDomImplementation;
  friend class TDomElement;
};

// Answers the declared type of an attribute from the document's type
// definition; a document built in memory has none, so the answer is none.
class TDtdAgent {
 public:
  TDomAttrDeclaredType declaredType(std::u16string_view, std::u16string_view) const {
    return TDomAttrDeclaredType::None;
  }
};

class TDomDocument final : public TDomCustomDocument {
 public:
  explicit TDomDocument(TDomImplementation* implementation) : TDomCustomDocument(implementation) {}
  const char* className() const override { return "TDomDocument"; }
  TDomAttrDeclaredType declaredAttributeType(std::u16string_view elementName,
                                             std::u16string_view attributeName) const override {
    return FDtdAgent.declaredType(elementName, attributeName);
  }

 private:
  TDtdAgent FDtdAgent;
};

class TDomImplementation : public TDomComponent {
 public:
  explicit TDomImplementation(TDomComponent* owner = nullptr) : TDomComponent(owner) {}
  // Frees every document still registered, clearing its link back first.
  ~TDomImplementation() override;

  TDomNodeList documents() const { return TDomNodeList(&FDocuments); }
  int documentCount() const { return static_cast<int>(FDocuments.size()); }

  // Error reports from the serializer: whether to go on.  True for warnings
  // and errors, false for fatal errors; then OnError, when assigned and
  // reports are not suspended, may change the answer.
  bool handleError(TDomComponent* sender, const TDomError& error);
  void suspendErrorEvents() { ++FErrorEventsSuspended; }
  void resumeErrorEvents() { --FErrorEventsSuspended; }
  int errorEventsSuspended() const { return FErrorEventsSuspended; }

  TDomNodeEvent OnNodeInserted;
  TDomAttrModifiedEvent OnAttrModified;
  TDomNodeEvent OnCharacterDataModified;
  TDomErrorEvent OnError;

 private:
  std::vector<TDomCustomDocument*> FDocuments;
  int FErrorEventsSuspended = 0;
  friend class TDomCustomDocument;
};

}  // namespace brimlow
