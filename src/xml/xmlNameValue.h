#pragma once

// The name/value classes of the XML reader: attributes of a tag, and the
// element, attribute, entity and notation declarations of a document type.
// Every list owns its elements and keeps them ordered by name on insertion,
// so that a lookup can halve the list.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml/xmlNameValueList.h"

namespace brimlow {

// A place in one of the texts the tokenizer reads (the document, a replacement
// text, an external document); every such text ends with a byte 0.  Null
// stands for "none".
using TPosition = const char*;

class TNameValue {
 public:
  TNameValue() = default;
  TNameValue(std::string name, std::string value)
      : Name(std::move(name)), Value(std::move(value)) {}

  std::string Name;
  std::string Value;
};

enum class TAttrValueKind : uint8_t { Normal = 0, Implied = 1, Fixed = 2, Default = 3 };

enum class TAttrType : uint8_t {
  Unknown = 0,
  CData = 1,
  Id = 2,
  IdRef = 3,
  IdRefs = 4,
  Entity = 5,
  Entities = 6,
  NmToken = 7,
  NmTokens = 8,
  Notation = 9,
  Enumeration = 10,
};

enum class TAttrDefaultKind : uint8_t { Default = 0, Required = 1, Implied = 2, Fixed = 3 };

enum class TElemContentKind : uint8_t { Empty = 0, Any = 1, ChildsOnly = 2, Mixed = 3 };

// Display names: "Normal", "CDATA", "Required", "Childs only", ...
const char* DisplayName(TAttrValueKind kind);
const char* DisplayName(TAttrType type);
const char* DisplayName(TAttrDefaultKind kind);
const char* DisplayName(TElemContentKind kind);

class TAttr : public TNameValue {
 public:
  using TNameValue::TNameValue;

  TAttrValueKind ValueKind = TAttrValueKind::Normal;
  TAttrType DeclaredType = TAttrType::Unknown;
};

// The attributes of a tag, or the pseudo-attributes of an XML declaration or
// a processing instruction.
class TAttrList : public TNameValueList<TAttr> {
 public:
  friend class TXmlTokenizer;

  // The most attributes one tag keeps.  The rest are read past, so that the
  // tag still ends where it ends, but not kept: a tag of a million attributes
  // would otherwise take a hundred bytes of memory for every few of input.
  static constexpr std::size_t kMaxAttributes = 10'000;

  // Empties the list and reads attributes from `position` on (see the
  // tokenizer); returns where the reading stopped: the byte 0, the ">" or the
  // first character that cannot begin an attribute name.
  TPosition ParseFrom(TPosition position);
};

class TAttrDef : public TNameValue {
 public:
  using TNameValue::TNameValue;

  std::string TypeText;
  std::string NotationList;
  TAttrType DeclaredType = TAttrType::Unknown;
  TAttrDefaultKind DefaultKind = TAttrDefaultKind::Default;
};

// An element declaration: its content and its attribute definitions.
class TElemDef : public TNameValueList<TAttrDef> {
 public:
  TElemDef() = default;
  explicit TElemDef(std::string name) : Name(std::move(name)) {}

  std::string Name;
  TElemContentKind ContentKind = TElemContentKind::Empty;
  std::string ContentModel;
};

class TElemList : public TNameValueList<TElemDef> {};

// A declared entity: `Value` is the replacement text of an internal entity and
// empty for an external one.
class TEntityDef : public TNameValue {
 public:
  using TNameValue::TNameValue;

  std::string SystemId;
  std::string PublicId;
  std::string NotationId;
};

// A declared notation: `Value` is its system identifier.
class TNotationDef : public TNameValue {
 public:
  using TNameValue::TNameValue;

  std::string PublicId;
};

struct TExternalID {
  std::string PublicId;
  std::string SystemId;
  TPosition End = nullptr;  // the last character read
};

}  // namespace brimlow
