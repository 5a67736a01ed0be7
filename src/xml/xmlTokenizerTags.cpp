// Tags: their names, attributes, declared defaults and attribute values.
#include "xml/xmlTokenizer.h"

#include <algorithm>
#include <cstring>

#include "xml/xmlChars.h"

namespace brimlow {

namespace xmlrefs {
bool ParseNumber(std::string_view digits, int base, uint32_t& value);
char Predefined(std::string_view name);
}  // namespace xmlrefs

void TXmlTokenizer::ReadTag() {
  TPosition name = FPartStart + 1;
  FPartKind = TPartKind::StartTag;
  if (*name == '/') {
    FPartKind = TPartKind::EndTag;
    ++name;
  }
  const TPosition nameEnd = xmlchars::NameEnd(name, xmlchars::kTagNameEnd);
  FPartName.assign(name, nameEnd);
  const TPosition stop = FPartAttributes.ParseFrom(nameEnd);
  if (*stop == '/') FPartKind = TPartKind::EmptyTag;
  // Most tags end right where their name or their attributes do.
  const void* close =
      *stop == '>' ? stop : std::memchr(stop, '>', static_cast<std::size_t>(FTextEnd - stop));
  FPartEnd = close ? static_cast<TPosition>(close) : LastOfText();
  if (FPartKind != TPartKind::EndTag) CompleteAttributes();
}

void TXmlTokenizer::CompleteAttributes() {
  if (!FElementDecls.Empty()) {
    // Declared attributes are applied to every tag, so that a large
    // declaration and many tags could multiply into a great deal of work:
    // the walk and the values added are counted against the scan's cap.
    const TElemDef* element = FElementDecls.Find(FPartName);
    if (element != nullptr && Charge(kDefinitionCost * static_cast<std::size_t>(element->Count())))
      ApplyDeclaration(*element);
  }
  for (TAttr& attribute : FPartAttributes)
    ProcessAttributeValue(attribute);
}

void TXmlTokenizer::ApplyDeclaration(const TElemDef& element) {
  // Defaults for missing attributes are appended and merged in once at the
  // end, so that an element with very many declared attributes stays cheap.
  // Their names are all absent from the tag, so the merged order is the
  // order that adding them one by one gives.
  const std::size_t written = FPartAttributes.UsedCount();
  for (const TAttrDef& definition : element) {
    TAttr* attribute = FPartAttributes.FindAmong(definition.Name, written);
    if (attribute == nullptr && !definition.Value.empty() && Charge(definition.Value.size())) {
      attribute = &FPartAttributes.AppendSpare();
      attribute->Name = definition.Name;
      attribute->Value = definition.Value;
      attribute->ValueKind = TAttrValueKind::Default;
    }
    if (attribute == nullptr) continue;
    if (definition.DefaultKind == TAttrDefaultKind::Implied) {
      attribute->ValueKind = TAttrValueKind::Implied;
    } else if (definition.DefaultKind == TAttrDefaultKind::Fixed) {
      attribute->ValueKind = TAttrValueKind::Fixed;
      attribute->Value = definition.Value;
    }
    attribute->DeclaredType = definition.DeclaredType;
  }
  if (FPartAttributes.UsedCount() > written) FPartAttributes.MergeAppended(written);
}

void TXmlTokenizer::ProcessAttributeValue(TAttr& attribute) {
  std::string& value = attribute.Value;
  if (value.find('&') != std::string::npos) {
    FValue.clear();
    FOpenInValue.clear();
    ExpandGeneralEntities(value, FValue, 0);
    value.swap(FValue);
    ExpandCharacterReferences(value);
  }
  if (attribute.DeclaredType == TAttrType::Unknown || attribute.DeclaredType == TAttrType::CData) {
    xmlchars::FoldWhitespace(value);
  } else {
    xmlchars::TrimAndPackWhitespace(value);
  }
  FValue.clear();
  TranslateText(value, FValue);
  value.swap(FValue);
}

void TXmlTokenizer::ExpandGeneralEntities(std::string_view value, std::string& out, int depth) {
  std::size_t done = 0;
  for (;;) {
    const std::size_t amp = value.find('&', done);
    if (amp == std::string_view::npos) break;
    const std::size_t semicolon = value.find(';', amp + 2);
    if (semicolon == std::string_view::npos) break;
    const std::string_view name = value.substr(amp + 1, semicolon - amp - 1);
    out.append(value.substr(done, amp - done));
    done = semicolon + 1;
    if (const char c = xmlrefs::Predefined(name)) {
      out += c;
      continue;
    }
    const TEntityDef* entity = FGeneralEntities.Empty() ? nullptr : FGeneralEntities.Find(name);
    if (entity == nullptr) {
      out.append(value.substr(amp, done - amp));  // stays as written
      continue;
    }
    // A self-referring entity, too deep a nesting or a spent budget
    // contributes nothing.
    if (depth >= kMaxEntityDepth ||
        std::find(FOpenInValue.begin(), FOpenInValue.end(), entity) != FOpenInValue.end()) {
      continue;
    }
    std::unique_ptr<TXmlTokenizer> document;
    std::string_view replacement = entity->Value;
    if (replacement.empty()) {
      if (!ChargeExternalOpen()) continue;
      document = OpenExternalEntity(entity->SystemId, entity->PublicId, entity->NotationId);
      if (!document) continue;
      replacement = document->DocumentText();
    }
    if (!ChargeExpansion(replacement.size())) continue;
    FOpenInValue.push_back(entity);
    ExpandGeneralEntities(replacement, out, depth + 1);
    FOpenInValue.pop_back();
  }
  out.append(value.substr(done));
}

void TXmlTokenizer::ExpandCharacterReferences(std::string& value) {
  if (value.find("&#") == std::string::npos) return;
  FRun.clear();
  std::size_t done = 0;
  for (;;) {
    const std::size_t start = value.find("&#", done);
    if (start == std::string::npos) break;
    const std::size_t semicolon = value.find(';', start + 2);
    if (semicolon == std::string::npos) break;
    std::string_view digits(value.data() + start + 2, semicolon - start - 2);
    uint32_t code = 0;
    if (!digits.empty() && (digits[0] == 'x' || digits[0] == 'X')) {
      if (!xmlrefs::ParseNumber(digits.substr(1), 16, code)) code = 0;
    } else if (!xmlrefs::ParseNumber(digits, 10, code)) {
      code = ' ';
    }
    FRun.append(value, done, start - done);
    AppendCharacter(code, FUtf8, FRun);
    done = semicolon + 1;
  }
  FRun.append(value, done, std::string::npos);
  value.swap(FRun);
}

}  // namespace brimlow
