#pragma once

// A downloads list with the marks of its rows: the list behind one pane (the
// opened list or the trash), a mark per record and running sums of the sizes,
// so that the statistics after one click cost nothing.  Row i is record i.
// A front-end's view follows the changes through an observer.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "data/downloadsList.h"

namespace brimlow {

// What a view of the rows must follow.  Insertions and removals are
// announced before and after; marks after.
class TMarkedListObserver {
 public:
  virtual ~TMarkedListObserver() = default;
  virtual void BeforeReset() {}
  virtual void AfterReset() {}
  virtual void BeforeInsert(int /*first*/, int /*last*/) {}
  virtual void AfterInsert() {}
  virtual void BeforeRemove(int /*first*/, int /*last*/) {}
  virtual void AfterRemove() {}
  virtual void MarksChanged(int /*first*/, int /*last*/) {}
};

class TMarkedList {
 public:
  explicit TMarkedList(std::unique_ptr<TDownloadsList> list);
  TMarkedList(const TMarkedList&) = delete;
  TMarkedList& operator=(const TMarkedList&) = delete;

  // One observer (not owned; may be none).
  void SetObserver(TMarkedListObserver* observer) { FObserver = observer; }

  TDownloadsList& List() const { return *FList; }
  int Count() const { return FList->Count(); }
  // Puts another list in place; every row starts unmarked.
  void Replace(std::unique_ptr<TDownloadsList> list);
  // Takes the list's records as they are now, every row unmarked: for records
  // added or changed directly in the list.
  void Reset();

  bool IsChecked(int row) const { return FChecks[static_cast<size_t>(row)] != 0; }
  void SetChecked(int row, bool checked);
  // Replaces the marks of the rows from `first` on, one per entry of `marks`.
  void SetChecks(int first, std::span<const uint8_t> marks);
  void UncheckAll();
  void UncheckRows(std::span<const int> rows);
  std::vector<int> CheckedRows() const;

  int CheckedCount() const { return FCheckedCount; }
  int64_t CheckedSize() const { return static_cast<int64_t>(FCheckedSize); }
  int64_t TotalSize() const { return static_cast<int64_t>(FTotalSize); }
  // Grows with every change of the records (not of the marks), so that what
  // is computed from the records alone can tell when to compute it again.
  uint64_t Revision() const { return FRevision; }

  // Appends a copy of each given record of `source` (another list), in order,
  // as new unmarked rows.
  void AppendCopies(const TDownloadsList& source, std::span<const int> rows);
  // Deletes the given rows, which ascend.
  void RemoveRows(std::span<const int> ascendingRows);
  // Deletes every record.
  void ClearAll();

 private:
  void Mark(size_t row, bool checked);
  void RecomputeSums();
  void AnnounceMarks(int first, int last);
  template <typename Change>
  void ResetWith(Change change);

  std::unique_ptr<TDownloadsList> FList;
  std::vector<uint8_t> FChecks;
  int FCheckedCount = 0;
  // Sums are kept unsigned so that extreme sizes wrap instead of overflowing.
  uint64_t FCheckedSize = 0;
  uint64_t FTotalSize = 0;
  TMarkedListObserver* FObserver = nullptr;
  uint64_t FRevision = 0;
};

}  // namespace brimlow
