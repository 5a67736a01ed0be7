#include "dom/domCharacterData.h"

#include "dom/domDocument.h"

namespace brimlow {

TDomCharacterData::~TDomCharacterData() {
  store().freeText(FData);
}

void TDomCharacterData::appendData(std::u16string_view text) {
  checkWritable();
  if (!text.empty()) {
    TDomStore& texts = store();
    const TDomString old = FData;
    FData = texts.storeConcatenation(texts.text(old), text);
    texts.freeText(old);
  }
  if (TDomCustomDocument* document = referenceDocument())
    document->notifyCharacterDataModified(this);
}

}  // namespace brimlow
