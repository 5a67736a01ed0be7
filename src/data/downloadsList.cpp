#include "data/downloadsList.h"

#include <stdexcept>

#include "xml/xmlScanner.h"

namespace brimlow {

namespace {

[[noreturn]] void ThrowIndexError(int index) {
  throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

TDownloadsList::TDownloadsList(std::string fileName)
    : FFileName(std::move(fileName)), FScanner(std::make_unique<TXmlEventScanner>()) {
  // A failure here leaves the constructor, so a list that could not be read
  // is never produced, not even in part.
  if (!FFileName.empty()) Load();
}

TDownloadsList::~TDownloadsList() = default;

Tdownload& TDownloadsList::Add() {
  return FItems.emplace_back();
}

void TDownloadsList::Delete(int index) {
  if (index < 0 || index >= Count()) ThrowIndexError(index);
  FItems.erase(FItems.begin() + index);
}

void TDownloadsList::DeleteMany(std::span<const int> ascendingPositions) {
  // Checked first, so that a bad position deletes nothing.
  int previous = -1;
  for (const int position : ascendingPositions) {
    if (position < 0 || position >= Count() || position < previous) ThrowIndexError(position);
    previous = position;
  }
  if (ascendingPositions.empty()) return;

  // One pass: every kept record moves down once to its final place.
  size_t next = 0;
  size_t kept = static_cast<size_t>(ascendingPositions.front());
  for (size_t i = kept; i < FItems.size(); ++i) {
    if (next < ascendingPositions.size() && static_cast<size_t>(ascendingPositions[next]) == i) {
      while (next < ascendingPositions.size() && static_cast<size_t>(ascendingPositions[next]) == i)
        ++next;
      continue;
    }
    FItems[kept++] = std::move(FItems[i]);
  }
  FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(kept), FItems.end());
}

void TDownloadsList::Clear() {
  FItems.clear();
}

}  // namespace brimlow
