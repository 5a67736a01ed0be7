#include "dom/domStore.h"

#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>

namespace brimlow {

namespace {

// The first node block is small, so that a small document stays small; the
// later ones grow to the alignment.
constexpr size_t firstBlockBytes = 64 * 1024;
constexpr size_t maxSharedLength = 16;
constexpr size_t maxSharedCount = 1024;

bool isWhiteSpace(char16_t c) {
  return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r';
}

size_t slotsFor(size_t units) {
  return (units * sizeof(char16_t) + 7) / 8;
}

}  // namespace

TDomStore::~TDomStore() {
  for (size_t i = 0; i < FBlocks.size(); ++i) {
    if (!FBlocks[i]) continue;
    if (FIsNodeBlock[i])
      ::operator delete (FBlocks[i], std::align_val_t{blockAlignment});
    else
      ::operator delete(FBlocks[i]);
  }
}

size_t TDomStore::freeBlockIndex() {
  if (!FFreeIndexes.empty()) {
    const size_t index = FFreeIndexes.back();
    FFreeIndexes.pop_back();
    return index;
  }
  if (FBlocks.size() >= maxBlocks) throw std::bad_alloc();
  FBlocks.push_back(nullptr);
  FIsNodeBlock.push_back(false);
  return FBlocks.size() - 1;
}

TDomHandle TDomStore::allocateSlots(size_t slots) {
  if (slots <= maxSharedSlots && FFreeLists[slots] != noHandle) {
    const TDomHandle handle = FFreeLists[slots];
    FFreeLists[slots] = *static_cast<TDomHandle*>(address(handle));
    return handle;
  }
  if (FRoom < slots) {
    const size_t bytes =
        FNodeBlockCount >= 2 ? blockAlignment : firstBlockBytes << (2 * FNodeBlockCount);
    const size_t index = freeBlockIndex();
    auto* block = static_cast<std::byte*>(::operator new (bytes, std::align_val_t{blockAlignment}));
    FBlocks[index] = block;
    FIsNodeBlock[index] = true;
    ++FNodeBlockCount;
    *reinterpret_cast<BlockHead*>(block) = {this, static_cast<uint32_t>(index), 0};
    FNext = static_cast<TDomHandle>((index << slotBits) | headSlots);
    FRoom = bytes / 8 - headSlots;
  }
  const TDomHandle handle = FNext;
  FNext += static_cast<TDomHandle>(slots);
  FRoom -= slots;
  return handle;
}

void TDomStore::freeSlots(TDomHandle handle, size_t slots) noexcept {
  if (slots > maxSharedSlots) return;  // only texts are this long; see reserveText
  *static_cast<TDomHandle*>(address(handle)) = FFreeLists[slots];
  FFreeLists[slots] = handle;
}

void* TDomStore::allocateNode(size_t bytes) {
  return address(allocateSlots(bytes / 8));
}

void TDomStore::deallocateNode(void* node, size_t bytes) noexcept {
  freeSlots(handleOf(node), bytes / 8);
}

TDomHandle TDomStore::reserveText(size_t units) {
  if (units > TDomString::sharedBit - 1) throw std::length_error("text too long");
  const size_t slots = slotsFor(units);
  if (slots <= maxSharedSlots) return allocateSlots(slots);
  const size_t index = freeBlockIndex();
  FBlocks[index] = static_cast<std::byte*>(::operator new(slots * 8));
  FIsNodeBlock[index] = false;
  return static_cast<TDomHandle>(index << slotBits);
}

void TDomStore::freeText(TDomString text) noexcept {
  if (text.handle == noHandle || text.shared()) return;
  const size_t slots = slotsFor(text.size());
  if (slots <= maxSharedSlots) {
    freeSlots(text.handle, slots);
    return;
  }
  const size_t index = text.handle >> slotBits;
  ::operator delete(FBlocks[index]);
  FBlocks[index] = nullptr;
  FFreeIndexes.push_back(static_cast<uint32_t>(index));
}

TDomString TDomStore::storeText(std::u16string_view text) {
  if (text.empty()) return {};
  const TDomHandle handle = reserveText(text.size());
  std::copy(text.begin(), text.end(), static_cast<char16_t*>(address(handle)));
  return {handle, static_cast<uint32_t>(text.size())};
}

TDomString TDomStore::storeConcatenation(std::u16string_view first, std::u16string_view second) {
  const size_t length = first.size() + second.size();
  if (length == 0) return {};
  const TDomHandle handle = reserveText(length);
  auto* out = static_cast<char16_t*>(address(handle));
  std::copy(second.begin(), second.end(), std::copy(first.begin(), first.end(), out));
  return {handle, static_cast<uint32_t>(length)};
}

TDomString TDomStore::sharedText(std::u16string_view text, bool& isNew) {
  const auto found = FShared.find(text);
  if (found != FShared.end()) {
    isNew = false;
    return found->second;
  }
  isNew = true;
  TDomString stored = storeText(text);
  stored.length |= TDomString::sharedBit;
  FShared.emplace(std::u16string(text), stored);
  return stored;
}

TDomString TDomStore::storeValue(std::u16string_view text) {
  if (text.empty() || text.size() > maxSharedLength || !isWhiteSpace(text.front()))
    return storeText(text);
  if (const TDomString* recent = recentShared(TSharedKind::Space, text)) return *recent;
  if (!std::all_of(text.begin(), text.end(), isWhiteSpace)) return storeText(text);
  const auto found = FShared.find(text);
  TDomString stored;
  if (found != FShared.end()) {
    stored = found->second;
  } else {
    if (FShared.size() >= maxSharedCount) return storeText(text);
    bool isNew = false;
    stored = sharedText(text, isNew);
  }
  rememberShared(TSharedKind::Space, text, stored);
  return stored;
}

}  // namespace brimlow
