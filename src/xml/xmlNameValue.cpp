#include "xml/xmlNameValue.h"

#include <cstring>

#include "xml/xmlChars.h"

namespace brimlow {

const char* DisplayName(TAttrValueKind kind) {
  switch (kind) {
    case TAttrValueKind::Normal: return "Normal";
    case TAttrValueKind::Implied: return "Implied";
    case TAttrValueKind::Fixed: return "Fixed";
    case TAttrValueKind::Default: return "Default";
  }
  return "";
}

const char* DisplayName(TAttrType type) {
  switch (type) {
    case TAttrType::Unknown: return "Unknown";
    case TAttrType::CData: return "CDATA";
    case TAttrType::Id: return "ID";
    case TAttrType::IdRef: return "IDREF";
    case TAttrType::IdRefs: return "IDREFS";
    case TAttrType::Entity: return "ENTITY";
    case TAttrType::Entities: return "ENTITIES";
    case TAttrType::NmToken: return "NMTOKEN";
    case TAttrType::NmTokens: return "NMTOKENS";
    case TAttrType::Notation: return "Notation";
    case TAttrType::Enumeration: return "Enumeration";
  }
  return "";
}

const char* DisplayName(TAttrDefaultKind kind) {
  switch (kind) {
    case TAttrDefaultKind::Default: return "Default";
    case TAttrDefaultKind::Required: return "Required";
    case TAttrDefaultKind::Implied: return "Implied";
    case TAttrDefaultKind::Fixed: return "Fixed";
  }
  return "";
}

const char* DisplayName(TElemContentKind kind) {
  switch (kind) {
    case TElemContentKind::Empty: return "Empty";
    case TElemContentKind::Any: return "Any";
    case TElemContentKind::ChildsOnly: return "Childs only";
    case TElemContentKind::Mixed: return "Mixed";
  }
  return "";
}

TPosition TAttrList::ParseFrom(TPosition p) {
  using xmlchars::IsWhite;
  enum class State { ExpectName, ExpectEquals, ExpectValue };
  ClearKeepingSpares();
  State state = State::ExpectName;
  TPosition nameBegin = p;
  TPosition nameEnd = p;
  for (;;) {
    const char c = *p;
    if (c == 0 || c == '>') break;
    if (IsWhite(c)) {
      ++p;
      continue;
    }
    if (state == State::ExpectName) {
      if (!xmlchars::IsNameStart(c)) break;
      nameBegin = p;
      nameEnd = xmlchars::NameEnd(p, xmlchars::kAttrNameEnd);
      p = nameEnd;
      state = State::ExpectEquals;
    } else if (state == State::ExpectEquals) {
      if (c == '=') state = State::ExpectValue;
      ++p;
    } else if (c == '"' || c == '\'') {
      const TPosition valueBegin = p + 1;
      const char* close = std::strchr(valueBegin, c);
      const TPosition valueEnd = close ? close : valueBegin + std::strlen(valueBegin);
      if (UsedCount() < kMaxAttributes) {
        TAttr& attribute = AppendSpare();
        attribute.Name.assign(nameBegin, nameEnd);
        attribute.Value.assign(valueBegin, valueEnd);
        attribute.ValueKind = TAttrValueKind::Normal;
        attribute.DeclaredType = TAttrType::Unknown;
      }
      p = close ? close + 1 : valueEnd;
      state = State::ExpectName;
    } else {
      ++p;
    }
  }
  SortAppended(0);
  return p;
}

}  // namespace brimlow
