#pragma once

// Storage of one document's nodes and texts.  Nodes and texts live in blocks
// owned by the store and refer to each other by 32-bit handles, which keeps a
// large list document small: a node of the downloads list takes 32 or 56
// bytes.  Every node block is aligned to blockAlignment and starts with a head
// that points back at the store, so a node finds its store from its own
// address.  Freed slots are reused by later allocations of the same size;
// everything goes when the store goes, in a few large releases.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace brimlow {

class TDomCustomDocument;

// A reference to a node or a text of one store; noHandle is none.
using TDomHandle = uint32_t;
constexpr TDomHandle noHandle = 0;
// The document itself, which lives outside its store.
constexpr TDomHandle documentHandle = 1;

// A text of the store: where it lies and its length in UTF-16 code units.
// A shared text (an interned name, a short run of white space) belongs to
// the store and is never freed on its own.
struct TDomString {
  TDomHandle handle = noHandle;
  uint32_t length = 0;  // the top bit marks a shared text

  static constexpr uint32_t sharedBit = 0x80000000u;
  uint32_t size() const { return length & ~sharedBit; }
  bool shared() const { return (length & sharedBit) != 0; }
};

class TDomStore {
 public:
  static constexpr size_t blockAlignment = size_t{1} << 20;
  static constexpr size_t maxNodeBytes = 255 * 8;

  explicit TDomStore(TDomCustomDocument& document) : FDocument(document) {}
  ~TDomStore();
  TDomStore(const TDomStore&) = delete;
  TDomStore& operator=(const TDomStore&) = delete;

  TDomCustomDocument& document() const { return FDocument; }

  // The store of a node that allocateNode placed, found from its address.
  static TDomStore& of(const void* node) { return *headOf(node)->store; }
  // The handle of a node that allocateNode placed.
  static TDomHandle handleOf(const void* node) {
    const auto address = reinterpret_cast<uintptr_t>(node);
    const BlockHead* head = headOf(node);
    return (head->index << slotBits) |
           static_cast<TDomHandle>((address - reinterpret_cast<uintptr_t>(head)) / 8);
  }
  void* address(TDomHandle handle) const {
    return FBlocks[handle >> slotBits] + static_cast<size_t>(handle & slotMask) * 8;
  }
  // The node of `handle` when it lies in the block of the node `near`,
  // found without the store, as most neighbours of a node are; else null.
  static void* addressNear(const void* near, TDomHandle handle) {
    const BlockHead* head = headOf(near);
    if ((handle >> slotBits) != head->index) return nullptr;
    return const_cast<std::byte*>(reinterpret_cast<const std::byte*>(head)) +
           static_cast<size_t>(handle & slotMask) * 8;
  }

  // Room for one node of `bytes` (a multiple of 8, at most maxNodeBytes).
  void* allocateNode(size_t bytes);
  void deallocateNode(void* node, size_t bytes) noexcept;

  // A copy of `text` in the store; the empty text needs no room.
  TDomString storeText(std::u16string_view text);
  // The text of `first` followed by `second`, in new room.
  TDomString storeConcatenation(std::u16string_view first, std::u16string_view second);
  // White space of a few characters is shared: the indentation of a large
  // document is stored once.
  TDomString storeValue(std::u16string_view text);
  // The shared copy of `text`, made on first use; `isNew` tells which.
  TDomString sharedText(std::u16string_view text, bool& isNew);
  // Names and short runs of white space recur all through a document; the
  // last few of each kind are found again by their ends and length, two
  // to a bucket, and then compared.
  enum class TSharedKind : uint8_t { Name, Space };
  const TDomString* recentShared(TSharedKind kind, std::u16string_view text) const {
    const TDomString* bucket = recentBucket(kind, text);
    for (int way = 0; way < 2; ++way) {
      const TDomString& entry = bucket[way];
      if (entry.handle != noHandle && entry.size() == text.size() &&
          sameUnits(static_cast<const char16_t*>(address(entry.handle)), text.data(), text.size()))
        return &entry;
    }
    return nullptr;
  }
  // Remembers `stored`, the shared copy of `text`, first in its bucket.
  void rememberShared(TSharedKind kind, std::u16string_view text, TDomString stored) {
    auto* bucket = const_cast<TDomString*>(recentBucket(kind, text));
    bucket[1] = bucket[0];
    bucket[0] = stored;
  }
  // Gives back the room of a text that is not shared.
  void freeText(TDomString text) noexcept;
  std::u16string_view text(TDomString text) const {
    if (text.handle == noHandle) return {};
    return {static_cast<const char16_t*>(address(text.handle)), text.size()};
  }

 private:
  static constexpr unsigned slotBits = 17;
  static constexpr TDomHandle slotMask = (TDomHandle{1} << slotBits) - 1;
  static constexpr size_t maxBlocks = size_t{1} << (32 - slotBits);
  static constexpr size_t headSlots = 2;
  // Texts longer than this many slots get a block of their own, freed on its
  // own; shorter freed room goes to the free lists.
  static constexpr size_t maxSharedSlots = 512;

  static constexpr size_t recentCount = 256;
  // Compares short texts four units at a time, without a call.
  static bool sameUnits(const char16_t* a, const char16_t* b, size_t count) {
    for (; count >= 4; a += 4, b += 4, count -= 4) {
      uint64_t x = 0;
      uint64_t y = 0;
      std::memcpy(&x, a, sizeof x);
      std::memcpy(&y, b, sizeof y);
      if (x != y) return false;
    }
    for (; count > 0; ++a, ++b, --count)
      if (*a != *b) return false;
    return true;
  }
  const TDomString* recentBucket(TSharedKind kind, std::u16string_view text) const {
    // The first and the last four units, as two numbers: names that share a
    // start (a common word before the one that differs) part at their end.
    uint64_t head = 0;
    uint64_t tail = 0;
    if (text.size() >= 4) {
      std::memcpy(&head, text.data(), sizeof head);
      std::memcpy(&tail, text.data() + text.size() - 4, sizeof tail);
    } else {
      for (const char16_t unit : text)
        head = head << 16 | unit;
    }
    const uint64_t key = (head * 0x9E3779B97F4A7C15u) ^ (tail * 0xC2B2AE3D27D4EB4Fu) ^ text.size();
    static_assert(recentCount == 256);
    return &FRecent[kind == TSharedKind::Name ? 0 : 1][(key >> 57) * 2];
  }

  struct BlockHead {
    TDomStore* store;
    uint32_t index;
    uint32_t spare;
  };
  static_assert(sizeof(BlockHead) == headSlots * 8);

  static const BlockHead* headOf(const void* node) {
    return reinterpret_cast<const BlockHead*>(reinterpret_cast<uintptr_t>(node) &
                                              ~(uintptr_t{blockAlignment} - 1));
  }
  // Room of `slots` slots in the node blocks, reused where possible.
  TDomHandle allocateSlots(size_t slots);
  void freeSlots(TDomHandle handle, size_t slots) noexcept;
  TDomHandle reserveText(size_t units);
  size_t freeBlockIndex();

  struct SharedHash {
    using is_transparent = void;
    size_t operator()(std::u16string_view text) const noexcept {
      return std::hash<std::u16string_view>()(text);
    }
  };

  TDomCustomDocument& FDocument;
  std::vector<std::byte*> FBlocks;     // every block by index; none for a freed one
  std::vector<bool> FIsNodeBlock;      // node blocks are aligned, text blocks are not
  std::vector<uint32_t> FFreeIndexes;  // indexes of freed text blocks
  TDomHandle FNext = noHandle;         // next free slot of the current node block
  size_t FRoom = 0;                    // slots left in the current node block
  size_t FNodeBlockCount = 0;
  std::vector<TDomHandle> FFreeLists = std::vector<TDomHandle>(maxSharedSlots + 1, noHandle);
  std::unordered_map<std::u16string, TDomString, SharedHash, std::equal_to<>> FShared;
  TDomString FRecent[2][recentCount] = {};
};

}  // namespace brimlow
