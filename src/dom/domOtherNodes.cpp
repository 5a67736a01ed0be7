#include "dom/domOtherNodes.h"

namespace brimlow {

TDomEntityReference::~TDomEntityReference() {
  TDomStore& texts = store();
  texts.freeText(FName);
  texts.freeText(FValue);
}

TDomProcessingInstruction::~TDomProcessingInstruction() {
  TDomStore& texts = store();
  texts.freeText(FTarget);
  texts.freeText(FData);
}

TDomDocumentTypeDecl::~TDomDocumentTypeDecl() {
  TDomStore& texts = store();
  for (const TDomString& text : {FName, FPublicId, FSystemId, FInternalSubset, FValue})
    texts.freeText(text);
}

}  // namespace brimlow
