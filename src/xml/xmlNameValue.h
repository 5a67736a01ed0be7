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

// A list of name/value elements (or of anything with a `Name`) ordered by
// `Add`.  Among equal names the one added last stands first.
template <class T = TNameValue>
class TNameValueList {
 public:
  TNameValueList() = default;
  TNameValueList(const TNameValueList&) = delete;
  TNameValueList& operator=(const TNameValueList&) = delete;
  TNameValueList(TNameValueList&&) = default;
  TNameValueList& operator=(TNameValueList&&) = default;

  // Inserts directly after the last element whose name is lower than the
  // node's, or at the front when there is none.
  T& Add(std::unique_ptr<T> node) {
    const auto first = FItems.begin();
    const auto last = first + static_cast<std::ptrdiff_t>(FCount);
    const auto at = std::lower_bound(first, last, node->Name,
                                     [](const std::unique_ptr<T>& item, const std::string& name) {
                                       return std::string_view(item->Name) < name;
                                     });
    T& added = *node;
    FItems.insert(at, std::move(node));  // spare elements stay behind the used ones
    ++FCount;
    return added;
  }

  // By halving; among equal names this gives the element the halving meets
  // first, exactly as the stored lists have always answered.
  T* Find(std::string_view name) const { return FindAmong(name, FCount); }

  // The value of the element `Find` gives, or an empty text.
  std::string ValueOf(const std::string& name) const {
    const T* node = Find(name);
    return node ? node->Value : std::string();
  }

  int Count() const { return static_cast<int>(FCount); }
  bool Empty() const { return FCount == 0; }
  T& operator[](int index) const { return *FItems[static_cast<std::size_t>(index)]; }

  // Removes and destroys one element; false when it is not in the list.
  bool Remove(const T* node) {
    const auto last = FItems.begin() + static_cast<std::ptrdiff_t>(FCount);
    const auto at = std::find_if(FItems.begin(), last, [node](const std::unique_ptr<T>& item) {
      return item.get() == node;
    });
    if (at == last) return false;
    FItems.erase(at);
    --FCount;
    return true;
  }

  // Removes one element and hands it to the caller; none when it is not in
  // the list.
  std::unique_ptr<T> Take(const T* node) {
    const auto last = FItems.begin() + static_cast<std::ptrdiff_t>(FCount);
    const auto at = std::find_if(FItems.begin(), last, [node](const std::unique_ptr<T>& item) {
      return item.get() == node;
    });
    if (at == last) return nullptr;
    std::unique_ptr<T> taken = std::move(*at);
    FItems.erase(at);
    --FCount;
    return taken;
  }

  // Removes and destroys every element.
  void Clear() {
    FItems.clear();
    FCount = 0;
  }

  class Iterator {
   public:
    explicit Iterator(const std::unique_ptr<T>* at) : FAt(at) {}
    T& operator*() const { return **FAt; }
    T* operator->() const { return FAt->get(); }
    Iterator& operator++() {
      ++FAt;
      return *this;
    }
    bool operator==(const Iterator& other) const = default;

   private:
    const std::unique_ptr<T>* FAt;
  };
  Iterator begin() const { return Iterator(FItems.data()); }
  Iterator end() const { return Iterator(FItems.data() + FCount); }

 protected:
  // Bulk filling for lists refilled many times (the attributes of each tag):
  // elements are appended in arrival order, reusing the ones kept from the
  // previous filling, and put in order once by SortAppended.  This keeps a
  // tag with very many attributes at n log n instead of n squared.
  void ClearKeepingSpares() { FCount = 0; }
  T& AppendSpare() {
    if (FCount == FItems.size()) FItems.push_back(std::make_unique<T>());
    return *FItems[FCount++];
  }
  // Orders the elements from `from` on among themselves exactly as Add one by
  // one would: by name, and among equal names the later first.  The caller
  // guarantees that nothing before `from` needs to move.
  void SortAppended(std::size_t from) {
    if (FCount - from < 2) return;
    const auto first = FItems.begin() + static_cast<std::ptrdiff_t>(from);
    const auto last = FItems.begin() + static_cast<std::ptrdiff_t>(FCount);
    if (FCount - from <= 32) {
      // Few elements: insert each as Add would, before every name not lower.
      for (auto at = first + 1; at != last; ++at) {
        std::unique_ptr<T> node = std::move(*at);
        auto hole = at;
        while (hole != first && !(std::string_view((*(hole - 1))->Name) < node->Name)) {
          *hole = std::move(*(hole - 1));
          --hole;
        }
        *hole = std::move(node);
      }
      return;
    }
    std::reverse(first, last);
    std::stable_sort(first, last, [](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) {
      return std::string_view(a->Name) < std::string_view(b->Name);
    });
  }
  std::size_t UsedCount() const { return FCount; }
  // Find among the first `count` elements only.
  T* FindAmong(std::string_view name, std::size_t count) const {
    std::size_t low = 0;
    std::size_t high = count;
    std::ptrdiff_t last = -1;
    for (;;) {
      const std::size_t middle = (low + high) / 2;
      if (static_cast<std::ptrdiff_t>(middle) == last || middle >= count) return nullptr;
      const int order = std::string_view(FItems[middle]->Name).compare(name);
      if (order == 0) return FItems[middle].get();
      if (order < 0) {
        low = middle;
      } else {
        high = middle;
      }
      last = static_cast<std::ptrdiff_t>(middle);
    }
  }
  // Merges the elements from `from` on, which are in order among themselves,
  // into the ordered ones before them; among equal names the earlier stay
  // first.
  void MergeAppended(std::size_t from) {
    const auto first = FItems.begin();
    std::inplace_merge(first, first + static_cast<std::ptrdiff_t>(from),
                       first + static_cast<std::ptrdiff_t>(FCount),
                       [](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) {
                         return std::string_view(a->Name) < std::string_view(b->Name);
                       });
  }

 private:
  // FItems[0, FCount) is the list; what follows are spare elements kept for
  // reuse by AppendSpare.
  std::vector<std::unique_ptr<T>> FItems;
  std::size_t FCount = 0;
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
