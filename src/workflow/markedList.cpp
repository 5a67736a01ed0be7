#include "workflow/markedList.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace brimlow {

namespace {

// Removing a few blocks of rows keeps a view's scroll position and selection;
// past this many blocks one reset is cheaper than the announcements.
constexpr size_t kMaxRangedRemovals = 16;

// The contiguous blocks of ascending rows, each as [first, last].
std::vector<std::pair<int, int>> Blocks(std::span<const int> ascendingRows) {
  std::vector<std::pair<int, int>> blocks;
  for (int row : ascendingRows) {
    if (!blocks.empty() && blocks.back().second + 1 == row)
      blocks.back().second = row;
    else
      blocks.emplace_back(row, row);
  }
  return blocks;
}

}  // namespace

TMarkedList::TMarkedList(std::unique_ptr<TDownloadsList> list) : FList(std::move(list)) {
  assert(FList);
  FChecks.assign(static_cast<size_t>(FList->Count()), 0);
  RecomputeSums();
}

template <typename Change>
void TMarkedList::ResetWith(Change change) {
  if (FObserver) FObserver->BeforeReset();
  ++FRevision;
  change();
  if (FObserver) FObserver->AfterReset();
}

void TMarkedList::Replace(std::unique_ptr<TDownloadsList> list) {
  assert(list);
  ResetWith([&] {
    FList = std::move(list);
    FChecks.assign(static_cast<size_t>(FList->Count()), 0);
    RecomputeSums();
  });
}

void TMarkedList::Reset() {
  ResetWith([&] {
    FChecks.assign(static_cast<size_t>(FList->Count()), 0);
    RecomputeSums();
  });
}

void TMarkedList::SetChecked(int row, bool checked) {
  if (checked == IsChecked(row)) return;
  Mark(static_cast<size_t>(row), checked);
  AnnounceMarks(row, row);
}

void TMarkedList::SetChecks(int first, std::span<const uint8_t> marks) {
  if (marks.empty()) return;
  assert(first >= 0 && first + static_cast<int>(marks.size()) <= Count());
  for (size_t i = 0; i < marks.size(); ++i)
    Mark(static_cast<size_t>(first) + i, marks[i] != 0);
  AnnounceMarks(first, first + static_cast<int>(marks.size()) - 1);
}

void TMarkedList::UncheckAll() {
  std::fill(FChecks.begin(), FChecks.end(), 0);
  FCheckedCount = 0;
  FCheckedSize = 0;
  if (Count() > 0) AnnounceMarks(0, Count() - 1);
}

void TMarkedList::UncheckRows(std::span<const int> rows) {
  for (int row : rows)
    Mark(static_cast<size_t>(row), false);
  if (!rows.empty())
    AnnounceMarks(*std::min_element(rows.begin(), rows.end()),
                  *std::max_element(rows.begin(), rows.end()));
}

std::vector<int> TMarkedList::CheckedRows() const {
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(FCheckedCount));
  for (size_t row = 0; row < FChecks.size(); ++row)
    if (FChecks[row]) rows.push_back(static_cast<int>(row));
  return rows;
}

void TMarkedList::AppendCopies(const TDownloadsList& source, std::span<const int> rows) {
  if (rows.empty()) return;
  assert(&source != FList.get());
  const int first = Count();
  ++FRevision;
  if (FObserver) FObserver->BeforeInsert(first, first + static_cast<int>(rows.size()) - 1);
  for (int row : rows) {
    Tdownload& copy = FList->Add();
    copy.AssignFrom(source[row]);
    FTotalSize += static_cast<uint64_t>(copy.Size);
  }
  FChecks.resize(static_cast<size_t>(Count()), 0);
  if (FObserver) FObserver->AfterInsert();
}

void TMarkedList::RemoveRows(std::span<const int> ascendingRows) {
  if (ascendingRows.empty()) return;
  ++FRevision;
  for (int row : ascendingRows) {
    Mark(static_cast<size_t>(row), false);
    FTotalSize -= static_cast<uint64_t>((*FList)[row].Size);
  }
  const std::vector<std::pair<int, int>> blocks = Blocks(ascendingRows);
  if (blocks.size() > kMaxRangedRemovals) {
    ResetWith([&] {
      FList->DeleteMany(ascendingRows);
      size_t kept = 0;
      size_t next = 0;
      for (size_t row = 0; row < FChecks.size(); ++row) {
        if (next < ascendingRows.size() && static_cast<size_t>(ascendingRows[next]) == row) {
          ++next;
          continue;
        }
        FChecks[kept++] = FChecks[row];
      }
      FChecks.resize(kept);
    });
    return;
  }
  // The last block first, so that the rows of the earlier ones keep their
  // numbers.
  std::vector<int> positions;
  for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
    const auto [first, last] = *block;
    if (FObserver) FObserver->BeforeRemove(first, last);
    positions.resize(static_cast<size_t>(last - first + 1));
    for (size_t i = 0; i < positions.size(); ++i)
      positions[i] = first + static_cast<int>(i);
    FList->DeleteMany(positions);
    FChecks.erase(FChecks.begin() + first, FChecks.begin() + last + 1);
    if (FObserver) FObserver->AfterRemove();
  }
}

void TMarkedList::ClearAll() {
  ResetWith([&] {
    FList->Clear();
    FChecks.clear();
    RecomputeSums();
  });
}

void TMarkedList::Mark(size_t row, bool checked) {
  uint8_t& mark = FChecks[row];
  if ((mark != 0) == checked) return;
  mark = checked ? 1 : 0;
  const auto size = static_cast<uint64_t>((*FList)[static_cast<int>(row)].Size);
  if (checked) {
    ++FCheckedCount;
    FCheckedSize += size;
  } else {
    --FCheckedCount;
    FCheckedSize -= size;
  }
}

void TMarkedList::RecomputeSums() {
  FCheckedCount = 0;
  FCheckedSize = 0;
  FTotalSize = 0;
  for (int row = 0; row < FList->Count(); ++row) {
    const auto size = static_cast<uint64_t>((*FList)[row].Size);
    FTotalSize += size;
    if (FChecks[static_cast<size_t>(row)]) {
      ++FCheckedCount;
      FCheckedSize += size;
    }
  }
}

void TMarkedList::AnnounceMarks(int first, int last) {
  if (FObserver) FObserver->MarksChanged(first, last);
}

}  // namespace brimlow
