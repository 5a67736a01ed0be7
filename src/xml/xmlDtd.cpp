// The document type declaration.
#include "xml/xmlTokenizer.h"

#include "xml/xmlChars.h"

namespace brimlow {

void TXmlTokenizer::ReadDoctype() {
  FPartKind = TPartKind::DtdDeclaration;
  FPartName.clear();
  FPartContent.clear();
  if (FDoctypeEnd != nullptr && FDoctypeEnd > FPartStart) {
    // The same document scanned again: the declaration was read before.  A
    // second declaration further on is read afresh: going back to the end
    // of the first would read the same parts again for ever.
    FPartEnd = FDoctypeEnd;
    return;
  }
  static constexpr xmlchars::ByteSet kNameEnd{"[", true};
  TPosition p = FPartStart + 9;
  while (xmlchars::IsWhite(*p))
    ++p;
  if (xmlchars::IsNameStart(*p)) {
    const TPosition nameEnd = xmlchars::NameEnd(p, kNameEnd);
    FDoctypeName.assign(p, nameEnd);
    p = nameEnd;
  }
  // The end is the first ">" outside quoted texts and the internal subset.
  bool inSubset = false;
  while (*p != 0) {
    const char c = *p;
    if (c == '>' && !inSubset) break;
    if (c == '"' || c == '\'') {
      const TPosition close = Search(p + 1, std::string_view(&c, 1));
      if (close == nullptr) {
        p = FTextEnd;
        break;
      }
      p = close;
    } else if (inSubset && xmlchars::StartsWith(p, "<!--")) {
      const TPosition close = Search(p + 4, "-->");
      if (close == nullptr) {
        p = FTextEnd;
        break;
      }
      p = close + 2;
    } else if (c == '[') {
      inSubset = true;
    } else if (c == ']') {
      inSubset = false;
    }
    ++p;
  }
  FPartEnd = *p == 0 ? LastOfText() : p;
  FDoctypeEnd = FPartEnd;
}

}  // namespace brimlow
