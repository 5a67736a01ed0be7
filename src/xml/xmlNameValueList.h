#pragma once

// The ordered, owning list behind every name/value list of the XML reader.
// Included through xmlNameValue.h.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace brimlow {

class TNameValue;

// A list of name/value elements (or of anything with a `Name`) ordered by
// `Add`.  Among equal names the one added last stands first.
//
// The elements lie in one vector: first the ordered ones, then those added
// lately in arrival order, which are put in order all at once when the list
// is next walked or when they have grown to half as many as the others.  A
// document type definition can hold a great many declarations, and
// inserting each in its place at once would move all the others every time.
// The names added lately are indexed, so that looking one up stays cheap.
template <class T = TNameValue>
class TNameValueList {
 public:
  TNameValueList() = default;
  TNameValueList(const TNameValueList&) = delete;
  TNameValueList& operator=(const TNameValueList&) = delete;
  TNameValueList(TNameValueList&&) = default;
  TNameValueList& operator=(TNameValueList&&) = default;

  // Places the node directly after the last element whose name is lower
  // than its own, or at the front when there is none.
  T& Add(std::unique_ptr<T> node) {
    if (FCount - FSorted >= FPendingLimit) Settle();
    T& added = *node;
    // Spare elements stay behind the used ones.
    FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(FCount), std::move(node));
    ++FCount;
    TLate& late = FLate[added.Name];
    late.Node = &added;
    ++late.Count;
    return added;
  }

  // By halving; among equal names this gives the element the halving meets
  // first, exactly as the stored lists have always answered.
  T* Find(std::string_view name) const {
    if (FSorted == FCount) return FindAmong(name, FCount);
    if (FLate.empty()) return SettledFind(name);  // appended in bulk, not yet in order
    // A name found once, and only once, among all the elements is the
    // answer whatever their order; anything else is looked up in order.
    const auto late = FLate.find(name);
    T* lateNode = late == FLate.end() ? nullptr : late->second.Node;
    if (lateNode != nullptr && late->second.Count > 1) return SettledFind(name);
    const std::size_t at = FindIndex(name, FSorted);
    if (at == kNone) return lateNode;
    if (lateNode != nullptr || HasEqualNeighbour(at)) return SettledFind(name);
    return FItems[at].get();
  }

  // The value of the element `Find` gives, or an empty text.
  std::string ValueOf(const std::string& name) const {
    const T* node = Find(name);
    return node ? node->Value : std::string();
  }

  int Count() const { return static_cast<int>(FCount); }
  bool Empty() const { return FCount == 0; }
  T& operator[](int index) const {
    Settle();
    return *FItems[static_cast<std::size_t>(index)];
  }

  // Puts `node` in the place of `old` and hands `old` back; none when `old`
  // is not in the list.  Both must have the same name, so that the order
  // holds: the result is that of removing `old` and adding `node`.
  std::unique_ptr<T> Replace(const T* old, std::unique_ptr<T> node) {
    const std::size_t at = IndexOf(old, node->Name);
    if (at == kNone) return nullptr;
    if (at >= FSorted) {
      TLate& late = FLate[node->Name];
      if (late.Node == old) late.Node = node.get();
    }
    std::swap(FItems[at], node);
    return node;
  }

  // Removes one element and hands it to the caller; none when it is not in
  // the list.
  std::unique_ptr<T> Take(const T* node) {
    Settle();
    const auto last = FItems.begin() + static_cast<std::ptrdiff_t>(FCount);
    const auto at = std::find_if(FItems.begin(), last, [node](const std::unique_ptr<T>& item) {
      return item.get() == node;
    });
    if (at == last) return nullptr;
    std::unique_ptr<T> taken = std::move(*at);
    FItems.erase(at);
    --FCount;
    FSorted = FCount;
    return taken;
  }

  // Removes and destroys one element; false when it is not in the list.
  bool Remove(const T* node) { return Take(node) != nullptr; }

  // Removes and destroys every element.
  void Clear() {
    FItems.clear();
    FLate.clear();
    FCount = FSorted = 0;
    FPendingLimit = kMinimumPending;
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
  Iterator begin() const {
    Settle();
    return Iterator(FItems.data());
  }
  Iterator end() const {
    Settle();
    return Iterator(FItems.data() + FCount);
  }

 protected:
  // Bulk filling for lists refilled many times (the attributes of each tag):
  // elements are appended in arrival order, reusing the ones kept from the
  // previous filling, and put in order once by SortAppended.  This keeps a
  // tag with very many attributes at n log n instead of n squared.
  // The elements appended are not indexed: they must be put in order by
  // SortAppended or MergeAppended before the list is searched.
  void ClearKeepingSpares() {
    FCount = FSorted = 0;
    // Clearing wipes every bucket even of an empty index, once per tag.
    if (!FLate.empty()) FLate.clear();
  }
  T& AppendSpare() {
    if (FCount == FItems.size()) FItems.push_back(std::make_unique<T>());
    return *FItems[FCount++];
  }
  // Orders the elements from `from` on among themselves exactly as Add one by
  // one would: by name, and among equal names the later first.  The caller
  // guarantees that nothing before `from` needs to move.
  void SortAppended(std::size_t from) {
    SortRange(from, FCount);
    FSorted = FCount;
  }
  std::size_t UsedCount() const { return FCount; }
  // Find among the first `count` elements only, which must be in order.
  T* FindAmong(std::string_view name, std::size_t count) const {
    const std::size_t at = FindIndex(name, count);
    return at == kNone ? nullptr : FItems[at].get();
  }
  // Merges the elements from `from` on, which are in order among themselves,
  // into the ordered ones before them; among equal names the earlier stay
  // first.
  void MergeAppended(std::size_t from) {
    const auto first = FItems.begin();
    std::inplace_merge(first, first + static_cast<std::ptrdiff_t>(from),
                       first + static_cast<std::ptrdiff_t>(FCount), NameLess);
    FSorted = FCount;
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  static constexpr std::size_t kMinimumPending = 16;

  static bool NameLess(const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) {
    return std::string_view(a->Name) < std::string_view(b->Name);
  }

  // The halving of Find over the first `count` elements.
  std::size_t FindIndex(std::string_view name, std::size_t count) const {
    std::size_t low = 0;
    std::size_t high = count;
    std::size_t last = kNone;
    for (;;) {
      const std::size_t middle = (low + high) / 2;
      if (middle == last || middle >= count) return kNone;
      const int order = std::string_view(FItems[middle]->Name).compare(name);
      if (order == 0) return middle;
      if (order < 0) {
        low = middle;
      } else {
        high = middle;
      }
      last = middle;
    }
  }

  bool HasEqualNeighbour(std::size_t at) const {
    const std::string& name = FItems[at]->Name;
    return (at > 0 && FItems[at - 1]->Name == name) ||
           (at + 1 < FSorted && FItems[at + 1]->Name == name);
  }

  T* SettledFind(std::string_view name) const {
    Settle();
    return FindAmong(name, FCount);
  }

  // Where `node` lies, found through its name, which is given apart so that
  // a pointer to an element no longer in the list is never followed.
  std::size_t IndexOf(const T* node, std::string_view name) const {
    const auto first = FItems.begin();
    const auto sorted = first + static_cast<std::ptrdiff_t>(FSorted);
    auto at = std::lower_bound(first, sorted, name,
                               [](const std::unique_ptr<T>& item, std::string_view key) {
                                 return std::string_view(item->Name) < key;
                               });
    for (; at != sorted && (*at)->Name == name; ++at) {
      if (at->get() == node) return static_cast<std::size_t>(at - first);
    }
    for (std::size_t i = FSorted; i < FCount; ++i) {
      if (FItems[i].get() == node) return i;
    }
    return kNone;
  }

  // Sorts [from, to) as adding one by one would: by name, later first.
  void SortRange(std::size_t from, std::size_t to) const {
    if (to - from < 2) return;
    const auto first = FItems.begin() + static_cast<std::ptrdiff_t>(from);
    const auto last = FItems.begin() + static_cast<std::ptrdiff_t>(to);
    if (to - from <= 32) {
      // Few elements: insert each as Add would, before every name not lower.
      for (auto at = first + 1; at != last; ++at) {
        std::unique_ptr<T> node = std::move(*at);
        auto hole = at;
        while (hole != first && !NameLess(*(hole - 1), node)) {
          *hole = std::move(*(hole - 1));
          --hole;
        }
        *hole = std::move(node);
      }
      return;
    }
    std::reverse(first, last);
    std::stable_sort(first, last, NameLess);
  }

  // Puts the elements added lately in their places: each goes in front of
  // every older element of its name, as Add one by one would have put it.
  void Settle() const {
    if (FSorted != FCount) SettleLate();
  }
  void SettleLate() const {
    SortRange(FSorted, FCount);
    std::vector<std::unique_ptr<T>> merged;
    merged.reserve(FCount);
    std::size_t older = 0;
    std::size_t newer = FSorted;
    while (older < FSorted && newer < FCount) {
      if (!NameLess(FItems[older], FItems[newer])) {
        merged.push_back(std::move(FItems[newer++]));
      } else {
        merged.push_back(std::move(FItems[older++]));
      }
    }
    while (older < FSorted)
      merged.push_back(std::move(FItems[older++]));
    while (newer < FCount)
      merged.push_back(std::move(FItems[newer++]));
    std::move(merged.begin(), merged.end(), FItems.begin());
    FSorted = FCount;
    FLate.clear();
    // Each settling then moves every element at most a few times over.
    FPendingLimit = std::max(kMinimumPending, FCount / 2);
  }

  // Names found among the elements added lately: one of those elements, and
  // how many there are.
  struct TLate {
    T* Node = nullptr;
    std::size_t Count = 0;
  };
  struct TNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>()(name);
    }
  };

  // FItems[0, FSorted) is in order, FItems[FSorted, FCount) waits in arrival
  // order, and what follows are spare elements kept for AppendSpare.  Walking
  // the list puts it in order, hence `mutable`.
  mutable std::vector<std::unique_ptr<T>> FItems;
  std::size_t FCount = 0;
  mutable std::size_t FSorted = 0;
  mutable std::size_t FPendingLimit = kMinimumPending;
  mutable std::unordered_map<std::string, TLate, TNameHash, std::equal_to<>> FLate;
};

}  // namespace brimlow
