// The declarations of a document type definition: elements, attribute
// lists, entities and notations, and their external identifiers.
#include <algorithm>

#include "xml/xmlChars.h"
#include "xml/xmlDtd.h"

namespace brimlow {

namespace {

using xmlchars::ByteSet;
using xmlchars::IsNameStart;
using xmlchars::IsWhite;
using xmlchars::NameEnd;
using xmlchars::StartsWith;

constexpr ByteSet kElementNameEnd{"", true};
constexpr ByteSet kAttListNameEnd{"\"#'", true};
constexpr ByteSet kKeywordEnd{"\"'", true};
constexpr ByteSet kEntityNameEnd{"\"'", true};
constexpr ByteSet kPlainNameEnd{"", true};
// An external identifier's keyword runs up to a quote, a ">" or a "[".
constexpr ByteSet kBeforeLiteral{"\"'[", false};

inline void Advance(TPosition& p) {
  if (*p != 0) ++p;
}

void RemoveWhitespace(std::string& text) {
  text.erase(std::remove_if(text.begin(), text.end(), IsWhite), text.end());
}

TAttrType TypeOf(const std::string& word) {
  static const std::pair<const char*, TAttrType> kTypes[] = {
      {"CDATA", TAttrType::CData},     {"ID", TAttrType::Id},
      {"IDREF", TAttrType::IdRef},     {"IDREFS", TAttrType::IdRefs},
      {"ENTITY", TAttrType::Entity},   {"ENTITIES", TAttrType::Entities},
      {"NMTOKEN", TAttrType::NmToken}, {"NMTOKENS", TAttrType::NmTokens},
  };
  for (const auto& [keyword, type] : kTypes) {
    if (word == keyword) return type;
  }
  return TAttrType::Unknown;
}

// The name at `p` up to a terminator; `p` moves to its last character.
std::string ReadName(TPosition& p, const ByteSet& terminators) {
  const TPosition end = NameEnd(p, terminators);
  std::string name(p, end);
  if (end > p) p = end - 1;
  return name;
}

}  // namespace

TPosition TDtdReader::ReadElementDecl(TPosition q) {
  TXmlTokenizer& t = FTokenizer;
  const TPosition first = q;
  auto element = std::make_unique<TElemDef>();
  q += 9;
  while (*q != '>' && *q != 0) {
    if (!IsNameStart(*q)) {
      ++q;
      continue;
    }
    element->Name = ReadName(q, kElementNameEnd);
    ++q;
    const TPosition close = t.Search(q, ">");
    element->ContentModel.assign(q, close ? close : t.FTextEnd);
    q = close ? close : LastOfText();
    break;
  }
  RemoveWhitespace(element->ContentModel);
  ReplaceParameterReferences(element->ContentModel);
  const std::string& model = element->ContentModel;
  if (model == "EMPTY") {
    element->ContentKind = TElemContentKind::Empty;
  } else if (model == "ANY") {
    element->ContentKind = TElemContentKind::Any;
  } else if (model.starts_with("(#PCDATA")) {
    element->ContentKind = TElemContentKind::Mixed;
  } else if (model.starts_with('(')) {
    element->ContentKind = TElemContentKind::ChildsOnly;
  } else {
    element->ContentKind = TElemContentKind::Any;
  }
  // A later declaration replaces an earlier one with all its attributes.
  TElemDef& added = *element;
  if (const TElemDef* earlier = t.FElementDecls.Find(element->Name)) {
    t.FElementDecls.Replace(earlier, std::move(element));
  } else {
    t.FElementDecls.Add(std::move(element));
  }
  q = DeclarationEnd(q);
  DtdItem item;
  item.ElemDef = &added;
  Report(item, TDtdItemKind::ElementDecl, first, q);
  return q;
}

TPosition TDtdReader::ReadAttListDecl(TPosition q) {
  enum class Phase { Element, Attribute, Type, Notations, Default };
  TXmlTokenizer& t = FTokenizer;
  const TPosition first = q;
  q += 9;
  Phase phase = Phase::Element;
  TElemDef* element = nullptr;
  TAttrDef* attribute = nullptr;
  for (;;) {
    const char c = *q;
    if (IsWhite(c)) {
      ++q;
      continue;
    }
    if (c == '%') {
      ReadParameterReference(q);
      continue;
    }
    if (c == 0) {
      if (Leave(q)) continue;
      break;
    }
    if (c == '>') break;
    switch (phase) {
      case Phase::Element: {
        const std::string name = ReadName(q, kAttListNameEnd);
        element = t.FElementDecls.Find(name);
        if (element == nullptr) {
          element = &t.FElementDecls.Add(std::make_unique<TElemDef>(name));
          element->ContentModel = "ANY";
          element->ContentKind = TElemContentKind::Any;
        }
        phase = Phase::Attribute;
        break;
      }
      case Phase::Attribute: {
        auto definition = std::make_unique<TAttrDef>();
        definition->Name = ReadName(q, kAttListNameEnd);
        attribute = definition.get();
        if (const TAttrDef* earlier = element->Find(definition->Name)) {
          element->Replace(earlier, std::move(definition));
        } else {
          element->Add(std::move(definition));
        }
        phase = Phase::Type;
        break;
      }
      case Phase::Type:
        if (c == '(') {
          const TPosition close = t.Search(q + 1, ")");
          attribute->TypeText.assign(q + 1, close ? close : t.FTextEnd);
          RemoveWhitespace(attribute->TypeText);
          attribute->DeclaredType = TAttrType::Enumeration;
          ReplaceParameterReferences(attribute->TypeText);
          ReplaceCharacterReferences(attribute->TypeText);
          phase = Phase::Default;  // the list itself is passed over there
        } else if (StartsWith(q, "NOTATION")) {
          q += 8;
          attribute->DeclaredType = TAttrType::Notation;
          phase = Phase::Notations;
        } else {
          TPosition word = q;
          attribute->TypeText = ReadName(word, kAttListNameEnd);
          attribute->DeclaredType = TypeOf(attribute->TypeText);
          phase = Phase::Default;  // the rest of the word is passed over there
        }
        break;
      case Phase::Notations: {
        const TPosition close = t.Search(q, ")");
        attribute->NotationList.assign(q + 1, close ? std::max(close, q + 1) : t.FTextEnd);
        if (close == nullptr) q = LastOfText();
        ReplaceParameterReferences(attribute->NotationList);
        RemoveWhitespace(attribute->NotationList);
        phase = Phase::Default;
        break;
      }
      case Phase::Default:
        if (c == '#') {
          std::string keyword = ReadName(q, kKeywordEnd);
          ReplaceParameterReferences(keyword);
          if (keyword == "#REQUIRED") {
            attribute->DefaultKind = TAttrDefaultKind::Required;
            phase = Phase::Attribute;
          } else if (keyword == "#IMPLIED") {
            attribute->DefaultKind = TAttrDefaultKind::Implied;
            phase = Phase::Attribute;
          } else if (keyword == "#FIXED") {
            attribute->DefaultKind = TAttrDefaultKind::Fixed;
          }
        } else if (c == '"' || c == '\'') {
          attribute->Value = Quoted(q);
          ReplaceParameterReferences(attribute->Value);
          ReplaceCharacterReferences(attribute->Value);
          phase = Phase::Attribute;
        }
        if (phase == Phase::Attribute) attribute = nullptr;
        break;
    }
    Advance(q);
  }
  q = DeclarationEnd(q);
  // Without an element name there is nothing the declaration could be
  // about, and nothing to report.
  if (element != nullptr) {
    DtdItem item;
    item.ElemDef = element;
    Report(item, TDtdItemKind::AttListDecl, first, q);
  }
  return q;
}

TPosition TDtdReader::ReadEntityDecl(TPosition q) {
  enum class Phase { Name, Value, NData, Notation, Done };
  TXmlTokenizer& t = FTokenizer;
  const TPosition first = q;
  q += 8;
  Phase phase = Phase::Name;
  bool parameter = false;
  auto entity = std::make_unique<TEntityDef>();
  for (;;) {
    const char c = *q;
    if (IsWhite(c)) {
      ++q;
      continue;
    }
    if (c == '%') {
      parameter = true;
      ++q;
      continue;
    }
    if (c == '>' || c == 0) break;
    switch (phase) {
      case Phase::Name:
        if (IsNameStart(c)) {
          entity->Name = ReadName(q, kEntityNameEnd);
          phase = Phase::Value;
        }
        break;
      case Phase::Value:
        if (c == '"' || c == '\'') {
          entity->Value = Quoted(q);
          phase = Phase::Done;
        } else if (StartsWith(q, "SYSTEM") || StartsWith(q, "PUBLIC")) {
          const TExternalID id = ReadExternalID(q);
          entity->SystemId = id.SystemId;
          entity->PublicId = id.PublicId;
          q = id.End;
          phase = Phase::NData;
        }
        break;
      case Phase::NData:
        if (StartsWith(q, "NDATA")) {
          q += 4;
          phase = Phase::Notation;
        }
        break;
      case Phase::Notation:
        if (IsNameStart(c)) {
          entity->NotationId = ReadName(q, kPlainNameEnd);
          phase = Phase::Done;
        }
        break;
      case Phase::Done: break;
    }
    Advance(q);
  }
  if (!parameter) ReplaceParameterReferences(entity->Value);
  ReplaceCharacterReferences(entity->Value);
  // A later declaration replaces an earlier one.  The earlier one is kept
  // aside, not destroyed: its text may be the very text being read.
  TNameValueList<TEntityDef>& list = parameter ? t.FParameterEntities : t.FGeneralEntities;
  TEntityDef& added = *entity;
  if (const TEntityDef* earlier = list.Find(entity->Name)) {
    t.FRetiredEntities.push_back(list.Replace(earlier, std::move(entity)));
  } else {
    list.Add(std::move(entity));
  }
  q = DeclarationEnd(q);
  DtdItem item;
  item.EntityDef = &added;
  Report(item, TDtdItemKind::EntityDecl, first, q);
  return q;
}

TPosition TDtdReader::ReadNotationDecl(TPosition q) {
  enum class Phase { Name, Identifier, Done };
  TXmlTokenizer& t = FTokenizer;
  const TPosition first = q;
  q += 10;
  Phase phase = Phase::Name;
  auto notation = std::make_unique<TNotationDef>();
  for (;;) {
    const char c = *q;
    if (IsWhite(c)) {
      ++q;
      continue;
    }
    if (c == '>' || c == 0) break;
    if (phase == Phase::Name) {
      notation->Name = ReadName(q, kPlainNameEnd);
      phase = Phase::Identifier;
    } else if (phase == Phase::Identifier) {
      const TExternalID id = ReadExternalID(q);
      notation->Value = id.SystemId;
      notation->PublicId = id.PublicId;
      q = id.End;
      phase = Phase::Done;
    }
    Advance(q);
  }
  // Notations of the same name accumulate.
  TNotationDef& added = t.FNotationDecls.Add(std::move(notation));
  q = DeclarationEnd(q);
  DtdItem item;
  item.NotationDef = &added;
  Report(item, TDtdItemKind::NotationDecl, first, q);
  return q;
}

TExternalID TDtdReader::ReadExternalID(TPosition p) {
  TExternalID id;
  id.End = p;
  const bool system = StartsWith(p, "SYSTEM");
  if (!system && !StartsWith(p, "PUBLIC")) return id;
  const auto literal = [this, &id](std::string& into) {
    while (!kBeforeLiteral.Contains(*id.End))
      ++id.End;
    if (*id.End != '"' && *id.End != '\'') {
      // No literal: the ">", "[" or end that stopped the search is not part
      // of the identifier, so that the declaration still sees it.
      --id.End;
      return false;
    }
    into = Quoted(id.End);
    return true;
  };
  if (system) {
    literal(id.SystemId);
  } else if (literal(id.PublicId)) {
    Advance(id.End);
    literal(id.SystemId);
  }
  return id;
}

}  // namespace brimlow
